#include "store/StoreWorker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The worker answers through queued signals: a loop of events is needed in this thread.
QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "tessaro_core_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    return *QCoreApplication::instance();
}

bool waitUntil(const std::function<bool()>& done)
{
    QDeadlineTimer deadline(20000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

// Another program holds the write lock: the results handed over meanwhile are kept once it lets go,
// with one notice that names the cause.
TEST(StoreWorker, ResultsWrittenWhileAnotherProgramHoldsTheFileAreKeptAfterwards)
{
    application();
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    store::StoreWorker worker(dir.path());
    QStringList notices;
    QObject::connect(&worker, &store::StoreWorker::notice,
                     [&](const QString& text) { notices.append(text); });
    store::KeptResult result;
    result.similarity = 12;
    result.obtained = QDateTime::currentDateTimeUtc();
    result.setTitles({{QStringLiteral("<a href=\"http://a/\">甲</a>"), QStringLiteral("甲")}});
    worker.keep(search::Engine::Baidu, QStringLiteral("先"), result);
    ASSERT_TRUE(waitUntil([&] { return worker.waiting() == 0; }));

    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(dir.path() + u'/' + store::ResultStore::fileName());
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QStringList queries;
        for (int i = 0; i < 20; ++i) {
            queries.append(QStringLiteral("句%1").arg(i));
            worker.keep(search::Engine::Baidu, queries.last(), result);
        }
        ASSERT_TRUE(waitUntil([&] { return !notices.isEmpty(); }));
        EXPECT_TRUE(notices[0].contains(QStringLiteral("正被另一个程序占用"))) << notices[0].toStdString();
        EXPECT_GT(worker.waiting(), 0);
        ASSERT_TRUE(lock.exec(QStringLiteral("COMMIT")));
        other.close();

        ASSERT_TRUE(waitUntil([&] { return worker.waiting() == 0; }));
        store::ResultStore later(dir.path());
        EXPECT_EQ(later.lookUp(search::Engine::Baidu, queries).size(), 20);
        EXPECT_EQ(notices.size(), 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

} // namespace
