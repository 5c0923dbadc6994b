#include "platform/TemporaryFiles.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tempfiles {

namespace {

// Deeper than any profile the office writes; a deeper tree is left rather than exhaust descriptors.
constexpr int kMaxDepth = 64;

const QString kOfficePrefix = QStringLiteral("tessaro-office-");

// Empties the directory open as fd, following no link; closes fd.
bool emptyDirectory(int fd, int depth)
{
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool emptied = true;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        struct stat st;
        if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            emptied = emptied && errno == ENOENT;
            continue;
        }
        if (!S_ISDIR(st.st_mode)) {
            emptied = (::unlinkat(fd, name, 0) == 0 || errno == ENOENT) && emptied;
            continue;
        }
        // O_NOFOLLOW: a folder swapped for a link since the lstat is not entered.
        const int child =
            depth < kMaxDepth ? ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
        if (child < 0) {
            emptied = (::unlinkat(fd, name, 0) == 0 || errno == ENOENT) && emptied;
            continue;
        }
        emptied = emptyDirectory(child, depth + 1) && ::unlinkat(fd, name, AT_REMOVEDIR) == 0 && emptied;
    }
    ::closedir(dir);
    return emptied;
}

bool ownDirectory(const struct stat& st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

// Opens path as a directory of this user's without following a link at its end; -1 otherwise.
int openOwnDirectory(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && ownDirectory(st))
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// Makes path (absent, or just cleared) a private directory and checks it; the canonical path or empty.
QString madePrivate(const QByteArray& path)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    const int fd = openOwnDirectory(path);
    if (fd < 0)
        return {};
    struct stat st;
    const bool tight = ::fstat(fd, &st) == 0 && ((st.st_mode & 07777) == 0700 || ::fchmod(fd, 0700) == 0);
    ::close(fd);
    return tight ? QFile::decodeName(path) : QString();
}

} // namespace

QString ensurePrivateFolder(const QString& location, const QString& name)
{
    char* real = ::realpath(QFile::encodeName(location).constData(), nullptr);
    if (!real)
        return {};
    const QByteArray base(real);
    std::free(real);
    const QByteArray path = base + '/' + QFile::encodeName(name);

    struct stat st;
    bool usable = true; // nothing there, or a folder of ours
    if (::lstat(path.constData(), &st) == 0 && !ownDirectory(st)) {
        // Not ours to use: the link itself goes; anything else is renamed aside, never deleted.
        if (S_ISLNK(st.st_mode)) {
            usable = ::unlink(path.constData()) == 0;
        } else {
            const QByteArray aside =
                path + ".aside-" +
                QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmsszzz")).toLatin1();
            usable = ::rename(path.constData(), aside.constData()) == 0;
        }
    }
    if (usable) {
        const QString made = madePrivate(path);
        if (!made.isEmpty())
            return made;
    }
    // Whatever stands in the way (or was put there since the lstat), a fresh folder instead.
    QByteArray fresh = path + "-XXXXXX";
    if (!::mkdtemp(fresh.data()))
        return {};
    return madePrivate(fresh);
}

QString privateFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        const QString folder = ensurePrivateFolder(runtime, QStringLiteral("tessaro"));
        if (!folder.isEmpty())
            return folder;
    }
    // A replacement made with mkdtemp is kept for the rest of the run rather than made anew each time.
    static QString fallback;
    if (!fallback.isEmpty()) {
        const int fd = openOwnDirectory(QFile::encodeName(fallback));
        if (fd >= 0) {
            ::close(fd);
            return fallback;
        }
    }
    const QString name = QStringLiteral("tessaro-%1").arg(static_cast<qulonglong>(::geteuid()));
    const QString folder = ensurePrivateFolder(QDir::tempPath(), name);
    if (!folder.endsWith(u'/' + name))
        fallback = folder;
    return folder;
}

bool removeEntry(const QString& folder, const QString& name)
{
    const QByteArray entry = QFile::encodeName(name);
    if (entry.isEmpty() || entry.contains('/') || entry == "." || entry == "..")
        return false;
    const int parent = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0)
        return false;
    bool removed = false;
    struct stat st;
    if (::fstatat(parent, entry.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        removed = errno == ENOENT;
    } else if (!S_ISDIR(st.st_mode)) {
        removed = ::unlinkat(parent, entry.constData(), 0) == 0;
    } else {
        const int fd = ::openat(parent, entry.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0)
            removed = emptyDirectory(fd, 0) && ::unlinkat(parent, entry.constData(), AT_REMOVEDIR) == 0;
        else
            removed = ::unlinkat(parent, entry.constData(), 0) == 0;
    }
    ::close(parent);
    return removed;
}

TemporaryFolder::TemporaryFolder(const QString& folder, const QString& templateName) : m_folder(folder)
{
    QByteArray path = QFile::encodeName(folder + u'/' + templateName);
    if (!folder.isEmpty() && !templateName.contains(u'/') &&
        templateName.endsWith(QStringLiteral("XXXXXX")) && ::mkdtemp(path.data()))
        m_name = QFile::decodeName(path).mid(folder.size() + 1);
}

TemporaryFolder::~TemporaryFolder()
{
    if (isValid())
        removeEntry(m_folder, m_name);
}

QString officeProfileTemplate(qint64 pid)
{
    return kOfficePrefix + QString::number(pid) + QStringLiteral("-XXXXXX");
}

void removeStaleOfficeProfiles(const QString& folder)
{
    const QStringList names = QDir(folder).entryList(
        {kOfficePrefix + u'*'}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        // "tessaro-office-<pid>-XXXXXX": stale when no process of that number runs.
        const QStringList parts = name.mid(kOfficePrefix.size()).split(u'-');
        bool isNumber = false;
        const qint64 pid = parts.constFirst().toLongLong(&isNumber);
        if (parts.size() != 2 || !isNumber || pid <= 0 ||
            QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)))
            continue;
        struct stat st;
        const QByteArray path = QFile::encodeName(folder + u'/' + name);
        // A folder of another user's is not the program's to remove; a link goes itself.
        if (::lstat(path.constData(), &st) == 0 && (S_ISLNK(st.st_mode) || st.st_uid == ::geteuid()))
            removeEntry(folder, name);
    }
}

} // namespace tempfiles
