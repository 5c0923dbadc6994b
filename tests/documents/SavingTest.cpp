#include "documents/Saving.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using rows::PrintTo;

using documents::SaveFailure;

// Every window that writes a file (保存, the report's export) goes through writeFile: its contract,
// once. The windows' tests check only that they show the message.
struct WriteRow
{
    const char* name;
    const char* target;                 // relative to a folder holding old.txt and the folder sub/
    std::optional<SaveFailure> failure; // nothing: written
};

using WriteFile = ::testing::TestWithParam<WriteRow>;

TEST_P(WriteFile, WritesWholeOrChangesNothing)
{
    const WriteRow& row = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString old = dir.filePath(QStringLiteral("old.txt"));
    {
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("an older, longer content that must go entirely");
    }
    const QString path = dir.filePath(QString::fromUtf8(row.target));

    const std::optional<documents::SaveError> error = documents::writeFile(path, "新");

    ASSERT_EQ(error.has_value(), row.failure.has_value());
    QFile written(path);
    if (!row.failure) {
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), QByteArray("新"));
        return;
    }
    EXPECT_EQ(error->failure, *row.failure);
    const QString message = documents::saveFailureMessage(path, *error);
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
    EXPECT_TRUE(message.contains(documents::saveFailureReason(*error))) << message.toStdString();
    QFile kept(old);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("an older, longer content that must go entirely"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("old.txt"), QStringLiteral("sub")}))
        << "no half-written file is left";
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("sub"))).isDir()) << "a folder is not replaced";
}

INSTANTIATE_TEST_SUITE_P(Documents, WriteFile,
                         ::testing::Values(WriteRow{"newFile", "新.rtf", std::nullopt},
                                           WriteRow{"replacesWhole", "old.txt", std::nullopt},
                                           WriteRow{"folderMissing", "no/such/folder/a.rtf",
                                                    SaveFailure::FolderMissing},
                                           WriteRow{"nameOfAFolder", "sub", SaveFailure::IsFolder}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
