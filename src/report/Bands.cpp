#include "report/Bands.h"

namespace report {

const QList<BandStyle>& bandTable()
{
    // Light backgrounds, so that black text stays readable on every band.
    static const QList<BandStyle> table{
        {Band::High, QStringLiteral("b-high"), QStringLiteral("高"), QStringLiteral("相似度 ≥ 50%"),
         0xf4a6a6},
        {Band::Medium, QStringLiteral("b-medium"), QStringLiteral("中"), QStringLiteral("20% ≤ 相似度 < 50%"),
         0xfcd49b},
        {Band::Low, QStringLiteral("b-low"), QStringLiteral("低"), QStringLiteral("0 < 相似度 < 20%"),
         0xfdf1a8},
        {Band::NoneFound, QStringLiteral("b-none"), QStringLiteral("未发现"), QStringLiteral("相似度 = 0"),
         0xc9e9c4},
        {Band::Unchecked, QStringLiteral("b-unchecked"), QStringLiteral("未能检测"),
         QStringLiteral("结果页未到或出现验证页"), 0xd4d4d4},
        {Band::NoSimilarity, QStringLiteral("b-nosimilarity"), QStringLiteral("无相似度"),
         QStringLiteral("尚未检索，或句中没有可检索的文字"), std::nullopt},
    };
    return table;
}

const BandStyle& bandStyle(Band band)
{
    for (const BandStyle& s : bandTable()) {
        if (s.band == band)
            return s;
    }
    return bandTable().constLast();
}

Band bandOf(search::SentenceState state, std::optional<double> similarity)
{
    using search::SentenceState;
    switch (state) {
    case SentenceState::NotArrived:
    case SentenceState::Verification:
        return Band::Unchecked;
    case SentenceState::Scored:
    case SentenceState::ShortPage:
        if (!similarity)
            return Band::NoSimilarity;
        if (*similarity >= 50)
            return Band::High;
        if (*similarity >= 20)
            return Band::Medium;
        if (*similarity > 0)
            return Band::Low;
        return Band::NoneFound;
    case SentenceState::NotSearched:
    case SentenceState::Blank:
        break;
    }
    return Band::NoSimilarity;
}

} // namespace report
