#include "sources/Library.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString kText = QStringLiteral("机器学习方法在自然语言处理领域得到了广泛应用并取得显著成果");

QStringList pathsOf(sources::Library& library)
{
    QStringList out;
    for (const sources::LibraryEntry& e : library.entries())
        out.append(e.paths.join(u'+'));
    return out;
}

TEST(Library, OneSourcePerContent)
{
    QTemporaryDir dir;
    sources::Library library(dir.filePath(QStringLiteral("sources.sqlite")));
    const QByteArray hash = sources::Library::contentHash(kText.toUtf8());
    EXPECT_FALSE(library.addPath(QStringLiteral("/b.txt"), hash)) << "content not there yet";
    ASSERT_TRUE(library.addSource(QStringLiteral("/a.txt"), hash, 90, QStringLiteral("a"), kText));
    EXPECT_EQ(library.hashOf(QStringLiteral("/a.txt")), hash);
    EXPECT_TRUE(library.addPath(QStringLiteral("/b.txt"), hash));
    EXPECT_EQ(pathsOf(library), QStringList{QStringLiteral("/a.txt+/b.txt")});

    // A changed file replaces what its path held; the old content stays under its other path.
    const QString changed = kText + QStringLiteral("又加了一句");
    ASSERT_TRUE(library.addSource(QStringLiteral("/a.txt"), sources::Library::contentHash(changed.toUtf8()),
                                  100, QStringLiteral("a"), changed));
    EXPECT_EQ(pathsOf(library), (QStringList{QStringLiteral("/b.txt"), QStringLiteral("/a.txt")}));

    EXPECT_TRUE(library.remove(QStringLiteral("/b.txt")));
    EXPECT_FALSE(library.remove(QStringLiteral("/b.txt")));
    const QList<sources::LibraryEntry> entries = library.entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(library.text(entries[0].id), changed);
    EXPECT_EQ(entries[0].chars, changed.size());

    // What another object over the same file finds: the fingerprints of the text kept.
    sources::Library again(library.filePath());
    sources::SourceIndex index;
    ASSERT_TRUE(again.loadIndex(index));
    EXPECT_EQ(index.sourceCount(), 1);
    EXPECT_EQ(index.size(), sources::fingerprintKeys(sources::tokenise(changed)).size());
}

TEST(Library, DamagedFileIsSetAsideAndANewOneStarted)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sources.sqlite"));
    QFile damaged(path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("SQLite format 3") + QByteArray(4096, '\x7f'));
    damaged.close();
    sources::Library library(path);
    ASSERT_TRUE(library.open());
    EXPECT_TRUE(library.takeNotice().contains(QStringLiteral("已改名为")));
    EXPECT_TRUE(library.takeNotice().isEmpty()) << "said once";
    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("sources.sqlite.damaged-*")});
    EXPECT_EQ(aside.size(), 1);
    EXPECT_TRUE(library.addSource(QStringLiteral("/a.txt"), "h", 1, QStringLiteral("a"), kText));
}

} // namespace
