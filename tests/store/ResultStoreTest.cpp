#include "store/ResultStore.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

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

TEST_F(ResultStoreTest, OldResultsAreNotOfferedAndGoWhenExpired)
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
    EXPECT_EQ(third.expire(now, 1000), 1);
    EXPECT_EQ(
        third.lookUp(Engine::Baidu, {QStringLiteral("旧"), QStringLiteral("新")}, now.addDays(-2)).keys(),
        QList<QString>{QStringLiteral("新")});
}

// Raw access to a store file, as another program or a damaged disk would leave it: runs statement
// and gives the first value it selects (invalid when none, or when it fails).
QVariant execRaw(const QString& file, const QString& statement, const QVariant& bind = {})
{
    QVariant first;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(file);
        QSqlQuery q(db);
        EXPECT_TRUE(db.open());
        q.prepare(statement);
        if (bind.isValid())
            q.addBindValue(bind);
        EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
        if (q.next())
            first = q.value(0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return first;
}

int rowCount(const QString& file)
{
    return execRaw(file, QStringLiteral("SELECT count(*) FROM results")).toInt();
}

QByteArray bytesOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

constexpr int kSound = 200;

QStringList soundQueries()
{
    QStringList queries;
    for (int i = 0; i < kSound; ++i)
        queries.append(QStringLiteral("句%1").arg(i));
    return queries;
}

QByteArray titlesPacked(int count, int textLength, int linkLength = 20)
{
    QList<search::Title> titles;
    for (int i = 0; i < count; ++i)
        titles.append({QStringLiteral("<a href=\"%1\">t</a>").arg(QString(linkLength, u'l')),
                       QString(textLength, u'题')});
    KeptResult r;
    r.setTitles(titles);
    return r.packedTitles;
}

// A zlib stream that unpacks to 10 MB, announced truthfully or as 100 bytes.
QByteArray bomb(bool lying)
{
    QByteArray packed = qCompress(QByteArray(10 * 1024 * 1024, '\0'), 9);
    if (lying)
        packed.replace(0, 4, QByteArray::fromHex("00000064"));
    return packed;
}

// The first result's row changed to something this program never writes.
auto hostile(const char* column, QVariant value)
{
    return [column, value](const QString& file) {
        execRaw(file,
                QStringLiteral("UPDATE results SET %1 = ? WHERE query = '句0'").arg(QLatin1String(column)),
                value);
    };
}

void setVersion(const QString& file, int version)
{
    execRaw(file, QStringLiteral("PRAGMA user_version=%1").arg(version));
}

// A file of this program's version whose tables are not the store's.
auto versionTwoWith(const char* create)
{
    return [create](const QString& file) {
        QFile::remove(file);
        execRaw(file, QLatin1String(create));
        setVersion(file, 2);
    };
}

// A crash leaves a log behind; the main file is then restored from an older copy.
void foreignLog(const QString& file)
{
    const QByteArray older = bytesOf(file);
    {
        ResultStore later(QFileInfo(file).path());
        for (int i = 0; i < 2000; ++i)
            ASSERT_TRUE(later.keep(Engine::Baidu, QStringLiteral("后来%1").arg(i), scored(1)));
    }
    QByteArray log;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("crash"));
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
        // Rows all over the table: the log holds the table's root but few of its leaves.
        ASSERT_TRUE(
            q.exec(QStringLiteral("INSERT INTO results SELECT key / 2 + 1, engine, query || '再', obtained, "
                                  "session, state, figure, titles FROM results LIMIT 100")));
        log = bytesOf(file + QStringLiteral("-wal"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("crash"));
    ASSERT_GT(log.size(), 32);
    writeBytes(file, older);
    writeBytes(file + QStringLiteral("-wal"), log);
    QFile::remove(file + QStringLiteral("-shm"));
}

// A crash leaves the file's own log: what it holds is the store's.
void ownLog(const QString& file)
{
    QByteArray main;
    QByteArray log;
    {
        ResultStore s(QFileInfo(file).path());
        ASSERT_TRUE(s.keep(Engine::Baidu, QStringLiteral("句0"), scored(5)));
        main = bytesOf(file);
        log = bytesOf(file + QStringLiteral("-wal"));
    }
    ASSERT_GT(log.size(), 32);
    writeBytes(file, main);
    writeBytes(file + QStringLiteral("-wal"), log);
    QFile::remove(file + QStringLiteral("-shm"));
}

struct Shape
{
    const char* name;
    std::function<void(const QString& file)> damage;
    int found;               // of the sound results
    const char* aside = "";  // the set-aside file's kind; empty when the file stays
    const char* notice = ""; // a part of the notice; empty when none
};

class StoreFileShapes : public ResultStoreTest, public ::testing::WithParamInterface<Shape>
{
};

// Every shape of the file on disk: its sound results are found, or it is set aside untouched with
// its log, with a notice naming where it went, and a new store keeps and clears (shrinking the file).
TEST_P(StoreFileShapes, FindsWhatIsSoundAndSetsAsideWhatIsNot)
{
    const Shape& shape = GetParam();
    const QString file = path() + u'/' + ResultStore::fileName();
    {
        ResultStore earlier(path());
        for (const QString& q : soundQueries())
            ASSERT_TRUE(earlier.keep(Engine::Baidu, q, scored(40)));
    }
    shape.damage(file);
    const QByteArray damaged = bytesOf(file);
    const QByteArray log = bytesOf(file + QStringLiteral("-wal"));

    ResultStore store(path());
    EXPECT_EQ(store.lookUp(Engine::Baidu, soundQueries()).size(), shape.found);
    const QString notice = store.takeNotice();
    const QStringList aside = QDir(path()).entryList({ResultStore::fileName() + QStringLiteral(".*")});
    if (*shape.aside) {
        const QString main = ResultStore::fileName() + QLatin1String(shape.aside);
        ASSERT_EQ(aside.filter(QRegularExpression(QStringLiteral("\\d$"))).size(), 1)
            << aside.join(u' ').toStdString();
        const QString name = aside.filter(QRegularExpression(QStringLiteral("\\d$")))[0];
        EXPECT_TRUE(name.startsWith(main)) << name.toStdString();
        EXPECT_TRUE(notice.contains(name)) << notice.toStdString();
        EXPECT_EQ(bytesOf(path() + u'/' + name), damaged); // never written into
        if (!log.isEmpty())
            EXPECT_EQ(bytesOf(path() + u'/' + name + QStringLiteral("-wal")), log); // set aside together
    } else {
        EXPECT_TRUE(aside.isEmpty()) << aside.join(u' ').toStdString();
    }
    EXPECT_TRUE(*shape.notice ? notice.contains(QString::fromUtf8(shape.notice)) : notice.isEmpty())
        << notice.toStdString();
    EXPECT_EQ(rowCount(file), shape.found); // a hostile row is removed once read

    ASSERT_TRUE(store.keep(Engine::Baidu, QStringLiteral("新句"), scored(3)));
    EXPECT_EQ(ResultStore(path()).lookUp(Engine::Baidu, {QStringLiteral("新句")}).size(), 1);
    const qint64 before = QFileInfo(file).size();
    EXPECT_TRUE(store.clear());
    EXPECT_EQ(rowCount(file), 0);
    EXPECT_TRUE(ResultStore(path()).lookUp(Engine::Baidu, soundQueries()).isEmpty());
    if (shape.found == kSound)
        EXPECT_LT(QFileInfo(file).size(), before) << "clearing shrinks the file";
}

INSTANTIATE_TEST_SUITE_P(
    Store, StoreFileShapes,
    ::testing::Values(
        Shape{"Sound", [](const QString&) {}, kSound}, Shape{"OwnLogOfACrash", ownLog, kSound},
        Shape{"Garbage", [](const QString& f) { writeBytes(f, QByteArray(8192, 'x')); }, 0, ".damaged-",
              "无法读取"},
        Shape{"Truncated", [](const QString& f) { writeBytes(f, bytesOf(f).left(QFileInfo(f).size() / 2)); },
              0, ".damaged-", "无法读取"},
        Shape{"ForeignLog", foreignLog, 0, ".damaged-", "无法读取"},
        Shape{"LogOfNoDatabase",
              [](const QString& f) { writeBytes(f + QStringLiteral("-wal"), QByteArray(4096, 'x')); }, 0,
              ".damaged-", "无法读取"},
        Shape{"NegativeVersion",
              [](const QString& f) {
                  QByteArray b = bytesOf(f);
                  b[60] = char(0x80);
                  writeBytes(f, b);
              },
              0, ".other-", "其他版本"},
        Shape{"FutureVersion", [](const QString& f) { setVersion(f, 99); }, 0, ".other-", "其他版本"},
        Shape{"OtherColumns", versionTwoWith("CREATE TABLE results (key INTEGER PRIMARY KEY, text TEXT)"), 0,
              ".other-", "其他版本"},
        Shape{"VersionTwoWithoutTable", versionTwoWith("CREATE TABLE notes (x)"), 0, ".other-", "其他版本"},
        Shape{"ElevenTitles", hostile("titles", titlesPacked(11, 5)), kSound - 1},
        Shape{"LongTitle", hostile("titles", titlesPacked(1, store::kMaxTitleText + 1)), kSound - 1},
        Shape{"LongLink", hostile("titles", titlesPacked(1, 5, store::kMaxLink + 1)), kSound - 1},
        Shape{"Bomb", hostile("titles", bomb(false)), kSound - 1},
        Shape{"LyingBomb", hostile("titles", bomb(true)), kSound - 1},
        Shape{"InfiniteFigure", hostile("figure", std::numeric_limits<double>::infinity()), kSound - 1},
        Shape{"NotANumberFigure", hostile("figure", QStringLiteral("nan")), kSound - 1},
        Shape{"NegativeFigure", hostile("figure", -5.0), kSound - 1},
        Shape{"FigureAbove100", hostile("figure", 150.0), kSound - 1},
        Shape{"UnknownState", hostile("state", 7), kSound - 1}),
    [](const ::testing::TestParamInfo<Shape>& info) { return std::string(info.param.name); });

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

// A file made read-only is read without anything created beside it that would block it later.
TEST_F(ResultStoreTest, ReadOnlyFileIsReadAndSaysWhyItKeepsNothing)
{
    const QString file = path() + u'/' + ResultStore::fileName();
    ASSERT_TRUE(ResultStore(path()).keep(Engine::Baidu, QStringLiteral("甲句"), scored(3)));
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    {
        ResultStore store(path());
        EXPECT_EQ(store.lookUp(Engine::Baidu, {QStringLiteral("甲句")}).size(), 1);
        EXPECT_FALSE(store.keep(Engine::Baidu, QStringLiteral("乙句"), scored(3)));
        EXPECT_TRUE(store.takeNotice().contains(QStringLiteral("只读")));
        EXPECT_FALSE(QFile::exists(file + QStringLiteral("-shm")));
    }
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_TRUE(ResultStore(path()).keep(Engine::Baidu, QStringLiteral("乙句"), scored(3)));
}

} // namespace
