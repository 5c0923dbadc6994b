#include "platform/ReadJob.h"
#include "documents/PdfFixture.h"
#include "support/DocumentTestHelpers.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"

#include "TestData.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace {

using documents::Failure;

class ReadJobTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString file(const char* name, const QByteArray& content) { return writeFile(dir, name, content); }

    static ReadJobOptions real()
    {
        ReadJobOptions options;
        options.reader = testdata::readerProgram();
        return options;
    }

    std::optional<documents::Read> run(ReadJob& job)
    {
        std::optional<documents::Read> result;
        QObject::connect(&job, &ReadJob::finished, [&](const documents::Read& read) { result = read; });
        job.start();
        EXPECT_TRUE(waitUntil([&] { return result.has_value(); }, 30'000));
        return result;
    }

    QTemporaryDir dir;
};

// The read that comes through the pipe is the one documents::read gives in the program itself.
TEST_F(ReadJobTest, GivesWhatTheReadersGive)
{
    const QString files[] = {
        file("a.txt", "中文\r\n第二行"),
        testdata::path("wordpad.rtf"),
        file("a.pdf", pdffixture::make({{pdffixture::Line{72, 100, 12, QStringLiteral("论文")}}})),
        file("damaged.pdf", "%PDF-1.4\n" + QByteArray(3000, 'x')),
        dir.filePath(QStringLiteral("missing.txt")),
    };
    for (const QString& path : files) {
        ReadJob job(path, real());
        EXPECT_EQ(run(job), documents::read(path)) << path.toStdString();
    }
}

struct LimitRow
{
    const char* name;
    std::chrono::milliseconds timeLimit;
    qint64 memoryLimit;
    Failure failure;
};

class ReadJobLimits : public ReadJobTest, public ::testing::WithParamInterface<LimitRow>
{
};

// A read past a limit is stopped and says which: a text of 45 MB takes the reader half a second and
// some 250 MB.
TEST_P(ReadJobLimits, StopTheRead)
{
    const QString big = file("big.txt", QByteArray("中文测试文字中文测试文字\n").repeated(1'200'000));
    ReadJobOptions options = real();
    options.timeLimit = GetParam().timeLimit;
    options.memoryLimit = GetParam().memoryLimit;
    ReadJob job(big, options);
    EXPECT_EQ(run(job), documents::Read(GetParam().failure));
}

INSTANTIATE_TEST_SUITE_P(Limits, ReadJobLimits,
                         ::testing::Values(LimitRow{"time", std::chrono::milliseconds(50),
                                                    documents::kReadMemoryLimit, Failure::TimeLimit},
                                           LimitRow{"memory", std::chrono::seconds(60), 150LL * 1024 * 1024,
                                                    Failure::MemoryLimit}),
                         [](const auto& info) { return std::string(info.param.name); });

enum class Ending { Cancel, JobGone, ProgramGone };

class ReadJobEnds : public ReadJobTest, public ::testing::WithParamInterface<Ending>
{
};

// However the read ends, its process goes at once: cancelled, its job destroyed (a new open), or the
// program killed.
TEST_P(ReadJobEnds, KillsTheReader)
{
    const QString path = file("a.pdf", pdffixture::pileUp(8000));
    ReadJobOptions options = real();
    options.reader = writeScript(dir, "stand-in-reader", "exec sleep 300\n"); // never answers
    qint64 reader = 0;
    if (GetParam() == Ending::ProgramGone) {
        QProcess program;
        program.start(QStringLiteral(TESSARO_READING_PARENT), {options.reader, path});
        ASSERT_TRUE(program.waitForReadyRead(10'000));
        reader = program.readLine().trimmed().toLongLong();
        ASSERT_GT(reader, 0);
        program.kill();
        ASSERT_TRUE(program.waitForFinished(10'000));
    } else {
        auto job = std::make_unique<ReadJob>(path, options);
        std::optional<documents::Read> result;
        QObject::connect(job.get(), &ReadJob::finished, [&](const documents::Read& read) { result = read; });
        job->start();
        ASSERT_TRUE(waitUntil([&] { return job->readerPid() > 0; }));
        reader = job->readerPid();
        if (GetParam() == Ending::Cancel) {
            job->cancel();
            EXPECT_EQ(result, documents::Read(Failure::Cancelled)) << "told at once";
        } else {
            job.reset();
            EXPECT_FALSE(result) << "a job that goes says nothing";
        }
    }
    EXPECT_TRUE(waitUntil([&] { return processGone(reader); })) << "the reader outlived its read";
}

INSTANTIATE_TEST_SUITE_P(
    Endings, ReadJobEnds, ::testing::Values(Ending::Cancel, Ending::JobGone, Ending::ProgramGone),
    [](const auto& info) {
        return std::string(std::array{"cancel", "jobGone", "programGone"}[int(info.param)]);
    });

} // namespace
