#include "store/ResultStore.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using search::Engine;
using store::KeptResult;
using store::ResultStore;

KeptResult scored(double figure, const QDateTime& obtained = QDateTime::currentDateTimeUtc())
{
    KeptResult r;
    r.similarity = figure;
    r.obtained = obtained;
    r.setTitles({{QStringLiteral("<a href=\"http://example.com/1\">标题一</a>"), QStringLiteral("标题一")},
                 {QStringLiteral("<a href=\"http://example.com/2\">标题二</a>"), QStringLiteral("")},
                 {QStringLiteral("<a href=\"http://example.com/3\">标题三</a>"), QStringLiteral("标题三")}});
    return r;
}

class ResultStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
    }
    QString path() const { return dir.path(); }

    QTemporaryDir dir;
};

// Two stores open at once on one folder, as two programs or an earlier and a later start.
TEST_F(ResultStoreTest, OffersWhatAnotherStartKeptWithTheSameEngine)
{
    const QDateTime when = QDateTime::currentDateTimeUtc().addSecs(-3600);
    ResultStore first(path());
    ResultStore second(path());
    ASSERT_TRUE(first.keep(Engine::Baidu, QStringLiteral("甲句"), scored(42.5, when)));
    KeptResult shortPage;
    shortPage.state = search::SentenceState::ShortPage;
    shortPage.obtained = when;
    ASSERT_TRUE(second.keep(Engine::Baidu, QStringLiteral("乙句"), shortPage));
    // A store's own results are in the record already.
    EXPECT_EQ(first.lookUp(Engine::Baidu, {QStringLiteral("甲句"), QStringLiteral("乙句")}).keys(),
              QList<QString>{QStringLiteral("乙句")});

    const auto found = ResultStore(path()).lookUp(
        Engine::Baidu, {QStringLiteral("甲句"), QStringLiteral("乙句"), QStringLiteral("丙句")});
    ASSERT_EQ(found.size(), 2);
    const KeptResult& a = found.value(QStringLiteral("甲句"));
    EXPECT_EQ(a.state, search::SentenceState::Scored);
    EXPECT_EQ(a.similarity, std::optional<double>(42.5));
    EXPECT_EQ(a.obtained.toMSecsSinceEpoch(), when.toMSecsSinceEpoch());
    const QList<search::Title> titles = a.titles();
    ASSERT_EQ(titles.size(), 3);
    EXPECT_EQ(titles[1].html, scored(0).titles()[1].html);
    EXPECT_TRUE(titles[1].text.isEmpty());
    EXPECT_EQ(titles[2].text, QStringLiteral("标题三"));
    EXPECT_EQ(found.value(QStringLiteral("乙句")).state, search::SentenceState::ShortPage);
    EXPECT_FALSE(found.value(QStringLiteral("乙句")).similarity);
    EXPECT_TRUE(second.lookUp(Engine::Wenku, {QStringLiteral("甲句")}).isEmpty());

    // A new search replaces the kept result.
    ASSERT_TRUE(first.keep(Engine::Baidu, QStringLiteral("甲句"), scored(10)));
    EXPECT_EQ(second.lookUp(Engine::Baidu, {QStringLiteral("甲句")}).value(QStringLiteral("甲句")).similarity,
              std::optional<double>(10));
    EXPECT_TRUE(second.takeNotice().isEmpty());
}

TEST_F(ResultStoreTest, OldResultsAreNotOfferedAndGoAtTheNextStart)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    {
        ResultStore first(path());
        ASSERT_TRUE(
            first.keep(Engine::Baidu, QStringLiteral("旧"), scored(1, now.addDays(-store::kKeptDays - 1))));
        ASSERT_TRUE(
            first.keep(Engine::Baidu, QStringLiteral("新"), scored(2, now.addDays(-store::kKeptDays + 1))));
        ResultStore second(path());
        EXPECT_EQ(second.lookUp(Engine::Baidu, {QStringLiteral("旧"), QStringLiteral("新")}, now).keys(),
                  QList<QString>{QStringLiteral("新")});
    }
    // Asked as of two days ago, the old result would still count: it is gone from the file.
    ResultStore third(path());
    EXPECT_EQ(
        third.lookUp(Engine::Baidu, {QStringLiteral("旧"), QStringLiteral("新")}, now.addDays(-2)).keys(),
        QList<QString>{QStringLiteral("新")});
}

TEST_F(ResultStoreTest, DamagedFileIsRenamedAsideAndANewOneStarted)
{
    const QByteArray garbage(8192, 'x');
    {
        QFile f(path() + u'/' + ResultStore::fileName());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    }
    ResultStore damaged(path());
    EXPECT_TRUE(damaged.lookUp(Engine::Baidu, {QStringLiteral("甲句")}).isEmpty());
    const QString notice = damaged.takeNotice();
    EXPECT_TRUE(notice.contains(QStringLiteral("无法读取"))) << notice.toStdString();
    const QStringList aside =
        QDir(path()).entryList({ResultStore::fileName() + QStringLiteral(".damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(notice.contains(aside[0]));
    QFile kept(path() + u'/' + aside[0]);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), garbage);

    EXPECT_TRUE(damaged.keep(Engine::Baidu, QStringLiteral("甲句"), scored(3)));
    EXPECT_EQ(ResultStore(path()).lookUp(Engine::Baidu, {QStringLiteral("甲句")}).size(), 1);
    EXPECT_TRUE(damaged.takeNotice().isEmpty()); // said once
}

TEST_F(ResultStoreTest, UnwritableFolderStopsKeepingWithOneNotice)
{
    // A file where the folder should be: nothing can be created there, also for root.
    const QString blocked = path() + QStringLiteral("/blocked");
    QFile f(blocked);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ResultStore store(blocked + QStringLiteral("/data"));
    EXPECT_FALSE(store.keep(Engine::Baidu, QStringLiteral("甲句"), scored(3)));
    EXPECT_FALSE(store.takeNotice().isEmpty());
    EXPECT_FALSE(store.keep(Engine::Baidu, QStringLiteral("乙句"), scored(3)));
    EXPECT_TRUE(store.takeNotice().isEmpty());
    EXPECT_TRUE(store.lookUp(Engine::Baidu, {QStringLiteral("甲句")}).isEmpty());
}

TEST_F(ResultStoreTest, ClearForgetsEverythingAndShrinksTheFile)
{
    QStringList queries;
    {
        ResultStore a(path());
        for (int i = 0; i < 300; ++i) {
            queries.append(QStringLiteral("要清除的句子%1").arg(i));
            ASSERT_TRUE(a.keep(Engine::Baidu, queries.last(), scored(i)));
        }
    }
    const QString file = path() + u'/' + ResultStore::fileName();
    const qint64 before = QFileInfo(file).size();
    ResultStore b(path());
    ASSERT_TRUE(b.clear());
    EXPECT_TRUE(ResultStore(path()).lookUp(Engine::Baidu, queries).isEmpty());
    EXPECT_LT(QFileInfo(file).size(), before);
}

} // namespace
