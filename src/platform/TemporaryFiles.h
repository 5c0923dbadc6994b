#pragma once

#include <QString>

// The program's temporary files: one private folder per user, and removal that never follows a
// symbolic link. Linux only (lstat, openat, unlinkat, mkdtemp).
//
// Preconditions: the location a private folder is made in exists and is either the user's own or
// sticky (as /tmp and $XDG_RUNTIME_DIR are), so that no other user can rename what the program made
// there. Everything temporary the program makes goes inside its private folder; what is found there
// under a name the program recognises was made by this user.
namespace tempfiles {

// Makes sure location/name is a directory of this user's with mode 0700, checked with lstat, and
// returns its canonical path. A link there is removed (the link, never what it points to); a file, or
// a folder of another user's, is renamed aside; mode bits beyond 0700 are dropped. When that cannot
// be done, a fresh folder location/name-XXXXXX is made instead. Empty when nothing could be made.
QString ensurePrivateFolder(const QString& location, const QString& name);

// The program's private folder: $XDG_RUNTIME_DIR/tessaro when that variable names a folder, else
// tessaro-<uid> in the system's temporary folder. Checked again on every call.
QString privateFolder();

// Removes folder/name without following any link: a link goes itself, a folder with everything in
// it, its links as links. Never reaches outside folder. True when nothing is left under that name.
bool removeEntry(const QString& folder, const QString& name);

// A folder made by mkdtemp inside a private folder and removed (with removeEntry) when destroyed.
class TemporaryFolder
{
public:
    // Template name ending in "XXXXXX", inside folder; not valid when folder is empty (no private
    // folder could be made) or mkdtemp fails.
    TemporaryFolder(const QString& folder, const QString& templateName);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    bool isValid() const { return !m_name.isEmpty(); }
    QString folder() const { return m_folder; }
    QString name() const { return m_name; }
    QString path() const { return m_folder + u'/' + m_name; }

private:
    QString m_folder;
    QString m_name;
};

// Office profiles: "tessaro-office-<pid>-XXXXXX" in a private folder, removed at the next start
// when no process of that number runs.
QString officeProfileTemplate(qint64 pid);
void removeStaleOfficeProfiles(const QString& folder);

} // namespace tempfiles
