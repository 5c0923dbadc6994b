#include "search/Engines.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using rows::PrintTo;

using search::Engine;

// Each service's query encoding: the code page's bytes, or UTF-8 one code unit at a time.
struct EncodeRow
{
    const char* name;
    QString (*encode)(const QString&);
    QString in;
    QString out;
};

using Encoding = ::testing::TestWithParam<EncodeRow>;

TEST_P(Encoding, Encodes)
{
    EXPECT_EQ(GetParam().encode(GetParam().in), GetParam().out);
}

constexpr auto gbk = &search::UrlEncodeGbk;
constexpr auto utf8 = &search::UrlEncodeUtf8;

INSTANTIATE_TEST_SUITE_P(
    Engines, Encoding,
    ::testing::Values(
        EncodeRow{"GbkChinese", gbk, QStringLiteral("中文"), QStringLiteral("%D6%D0%CE%C4")},
        EncodeRow{"GbkUnescapedSet", gbk, QStringLiteral("A-1,2.3/x"), QStringLiteral("A-1,2.3/x")},
        EncodeRow{"GbkUnderscore", gbk, QStringLiteral("_"), QStringLiteral("%5F")},
        EncodeRow{"GbkTab", gbk, QStringLiteral("\t"), QStringLiteral("%09")},
        EncodeRow{"GbkEmpty", gbk, QString(), QString()},
        EncodeRow{"GbkTildeAsteriskAmpersand", gbk, QStringLiteral("~*&"), QStringLiteral("%7E%2A%26")},
        EncodeRow{"GbkEuroIsOneByte", gbk, QStringLiteral("€"), QStringLiteral("%80")},
        EncodeRow{"GbkNotEncodableIsQuestionMark", gbk, QStringLiteral("\u30FB"), QStringLiteral("%3F")},
        EncodeRow{"GbkSurrogatePairIsTwoQuestionMarks", gbk, QStringLiteral("\U0001F600"),
                  QStringLiteral("%3F%3F")},
        EncodeRow{"GbkQuestionMarkItself", gbk, QStringLiteral("?"), QStringLiteral("%3F")},
        EncodeRow{"GbkMixed", gbk, QStringLiteral("中 a1"), QStringLiteral("%D6%D0%20a1")},
        EncodeRow{"Utf8Chinese", utf8, QStringLiteral("中"), QStringLiteral("%E4%B8%AD")},
        EncodeRow{"Utf8TwoBytes", utf8, QStringLiteral("é"), QStringLiteral("%C3%A9")},
        EncodeRow{"Utf8ThreeBytesFirst", utf8, QStringLiteral("\u0800"), QStringLiteral("%E0%A0%80")},
        EncodeRow{"Utf8LastTwoByte", utf8, QStringLiteral("\u07FF"), QStringLiteral("%DF%BF")},
        EncodeRow{"Utf8AsciiUnchanged", utf8, QStringLiteral("a b&c#d?e+f"), QStringLiteral("a b&c#d?e+f")},
        EncodeRow{"Utf8Empty", utf8, QString(), QString()},
        EncodeRow{"Utf8SurrogatesOneAtATime", utf8, QStringLiteral("\U0001F600"),
                  QStringLiteral("%ED%A0%BD%ED%B8%80")}));

TEST(Engines, UrlTemplates)
{
    const QString q = QStringLiteral("中文");
    EXPECT_EQ(search::searchUrl(Engine::Baidu, q),
              QStringLiteral("https://www.baidu.com/s?wd=%D6%D0%CE%C4&rsv_bp=0&ch=&bar=&rsv_spt=3&tn=baidu"));
    EXPECT_EQ(search::searchUrl(Engine::Wenku, q),
              QStringLiteral("https://wenku.baidu.com/search?word=%D6%D0%CE%C4&od=0&fr=top_home"));
    EXPECT_EQ(search::searchUrl(Engine::Zhiwang, q),
              QStringLiteral("https://scholar.cnki.net/result.aspx?q=%E4%B8%AD%E6%96%87&rt=&rl=&udb="));
    EXPECT_EQ(search::searchUrl(Engine::Longyuan, q), std::nullopt);
}

TEST(Engines, SelectionRule)
{
    using M = search::EngineMarks;
    EXPECT_EQ(search::selectedEngine(M{}), Engine::Baidu);
    EXPECT_EQ(search::selectedEngine(M{false, false, false, false}), Engine::Baidu);
    EXPECT_EQ(search::selectedEngine(M{true, true, false, false}), Engine::Wenku);
    EXPECT_EQ(search::selectedEngine(M{false, true, true, false}), Engine::Longyuan);
    EXPECT_EQ(search::selectedEngine(M{false, true, true, true}), Engine::Zhiwang);
}

// Which hosts answer for a service.
struct HostRow
{
    const char* name;
    search::Engine engine;
    const char* url;
    bool serves;
};

using ServiceHosts = ::testing::TestWithParam<HostRow>;

TEST_P(ServiceHosts, AreTheDomainAndItsSubdomains)
{
    EXPECT_EQ(search::isServiceHost(GetParam().engine, QString::fromUtf8(GetParam().url)), GetParam().serves);
}

INSTANTIATE_TEST_SUITE_P(
    Engines, ServiceHosts,
    ::testing::Values(HostRow{"BaiduItself", search::Engine::Baidu, "https://www.baidu.com/s?wd=x", true},
                      HostRow{"BaiduSibling", search::Engine::Baidu, "https://M.Baidu.com/s?word=x", true},
                      HostRow{"BaiduDomain", search::Engine::Baidu, "https://baidu.com/", true},
                      HostRow{"WenkuOnBaidu", search::Engine::Wenku, "https://www.baidu.com/s", true},
                      HostRow{"LookAlike", search::Engine::Baidu, "https://notbaidu.com/s", false},
                      HostRow{"DomainInPath", search::Engine::Wenku, "https://x.example/baidu.com", false},
                      HostRow{"DomainAsPrefix", search::Engine::Baidu, "https://baidu.com.example/", false},
                      HostRow{"CnkiSibling", search::Engine::Zhiwang, "https://kns.cnki.net/kns8s/search",
                              true},
                      HostRow{"CnkiIsNotBaidu", search::Engine::Baidu, "https://scholar.cnki.net/", false},
                      HostRow{"Longyuan", search::Engine::Longyuan, "https://www.baidu.com/", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
