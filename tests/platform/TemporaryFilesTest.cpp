// Another local user plants links where the program cleans up: whatever the private folder was
// before, every clean-up removes the links themselves and never what they point to.
#include "platform/TemporaryFiles.h"
#include "platform/WordProcessorJob.h"
#include "report/ReportFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Before { Absent, Link, File, LooseMode, OtherOwner };

bool present(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool link(const QString& target, const QString& at)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()) == 0;
}

using PlantedLinks = ::testing::TestWithParam<Before>;

TEST_P(PlantedLinks, RemoveTheLinksNeverTheirTargets)
{
    QTemporaryDir temp, victim;
    const QDir base(temp.path()), target(victim.path());
    ASSERT_TRUE(target.mkdir(QStringLiteral("sub")));
    const QStringList sentinels{target.filePath(QStringLiteral("a")),
                                target.filePath(QStringLiteral("sub/b"))};
    for (const QString& s : sentinels) {
        QFile f(s);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("keep") == 4);
    }
    const QString name = QStringLiteral("tessaro-test");
    const QString usual = base.filePath(name);
    switch (GetParam()) {
    case Before::Absent:
        break;
    case Before::Link:
        ASSERT_TRUE(link(victim.path(), usual));
        break;
    case Before::File: {
        QFile f(usual);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("mine") == 4);
        break;
    }
    case Before::LooseMode:
        ASSERT_EQ(::mkdir(QFile::encodeName(usual).constData(), 0755), 0);
        break;
    case Before::OtherOwner:
        ASSERT_TRUE(base.mkdir(name));
        if (::chown(QFile::encodeName(usual).constData(), ::geteuid() + 1, static_cast<gid_t>(-1)) != 0)
            GTEST_SKIP() << "only root can give a folder to another user";
        break;
    }

    const QString folder = tempfiles::ensurePrivateFolder(temp.path(), name);
    ASSERT_FALSE(folder.isEmpty());
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    if (GetParam() == Before::Link)
        EXPECT_EQ(folder, usual) << "the link itself goes and the folder is made in its place";
    if (GetParam() == Before::File)
        EXPECT_EQ(base.entryList({name + QStringLiteral(".aside-*")}, QDir::Files).size(), 1)
            << "renamed, not lost";
    EXPECT_EQ(tempfiles::ensurePrivateFolder(temp.path(), name), folder) << "the next call keeps it";

    // Every place a clean-up looks: a stale profile, a link inside one, links under the names of
    // profiles and print folders, in the private folder and where earlier versions put them.
    const QDir own(folder);
    const QString stale = own.filePath(QStringLiteral("tessaro-office-999999998-aB3dE9"));
    ASSERT_TRUE(own.mkpath(QStringLiteral("tessaro-office-999999998-aB3dE9/user")));
    ASSERT_TRUE(link(victim.path(), stale + QStringLiteral("/user/linked")));
    const QStringList links{own.filePath(QStringLiteral("tessaro-office-999999999-aB3dE9")),
                            base.filePath(QStringLiteral("tessaro-office-999999999-aB3dE9")),
                            base.filePath(QStringLiteral("tessaro-Ab12Cd"))};
    for (const QString& at : links)
        ASSERT_TRUE(link(victim.path(), at));
    {
        tempfiles::TemporaryFolder profile(folder, tempfiles::officeProfileTemplate(::getpid()));
        ASSERT_TRUE(profile.isValid());
        ASSERT_TRUE(link(victim.path(), profile.path() + QStringLiteral("/linked")));
        EXPECT_FALSE(tempfiles::removeEntry(profile.path(), QStringLiteral("..")));
        EXPECT_FALSE(tempfiles::removeEntry(folder, QStringLiteral("tessaro-office-1/..")));
    }
    EXPECT_EQ(report::removeLeftPrintFolders(temp.path(), QStringLiteral("tessaro")), 1);
    tempfiles::removeStaleOfficeProfiles(temp.path());
    tempfiles::removeStaleOfficeProfiles(folder);

    for (const QString& s : sentinels)
        EXPECT_TRUE(present(s)) << s.toStdString();
    for (const QString& at : links)
        EXPECT_FALSE(present(at)) << at.toStdString();
    EXPECT_FALSE(present(stale));
    EXPECT_EQ(own.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), QStringList{})
        << "the profile made and removed leaves nothing";
    EXPECT_TRUE(present(folder));
}

INSTANTIATE_TEST_SUITE_P(PrivateFolder, PlantedLinks,
                         ::testing::Values(Before::Absent, Before::Link, Before::File, Before::LooseMode,
                                           Before::OtherOwner));

TEST(WordProcessorProfiles, StaleOnesGoAtTheNextStart)
{
    QTemporaryDir temp;
    // No process has a number above the kernel's largest (4,194,304).
    const QString stale = QStringLiteral("tessaro-office-999999999-aB3dE9");
    const QString live = QStringLiteral("tessaro-office-%1-aB3dE9").arg(QCoreApplication::applicationPid());
    const QString other = QStringLiteral("tessaro-office-notes");
    for (const QString& name : {stale, live, other}) {
        ASSERT_TRUE(QDir(temp.path()).mkpath(name + QStringLiteral("/user")));
        QFile f(temp.filePath(name + QStringLiteral("/user/registrymodifications.xcu")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    WordProcessorJob::removeStaleProfiles(temp.path());
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(stale)));
    EXPECT_TRUE(QFileInfo::exists(temp.filePath(live))) << "a running program's profile stays";
    EXPECT_TRUE(QFileInfo::exists(temp.filePath(other))) << "only the program's own names";
}

} // namespace
