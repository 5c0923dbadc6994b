#pragma once

#include <QString>

#include <cstdint>

// A small deterministic generator, so that benchmark inputs are the same on every machine.
struct XorShift
{
    std::uint32_t x;
    std::uint32_t operator()()
    {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    }
};

// A deterministic Chinese article of the given length: common characters, full-width punctuation,
// some ASCII words and numbers, paragraphs with ideographic indentation.
inline QString makeArticle(qsizetype length, std::uint32_t seed = 12345)
{
    static const QString common = QStringLiteral(
        "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种"
        "面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本"
        "去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比"
        "或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总"
        "次品式活设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西被干做"
        "必战先回则任取据处府研");
    static const QString marks = QStringLiteral("，。；！？、：");
    QString out;
    out.reserve(length);
    XorShift next{seed};
    while (out.size() < length) {
        if (out.isEmpty() || next() % 400 == 0)
            out += (out.isEmpty() ? QString() : QStringLiteral("\r\n")) + QStringLiteral("\u3000\u3000");
        const std::uint32_t r = next() % 100;
        if (r < 8)
            out += marks.at(next() % marks.size());
        else if (r < 10)
            out += QStringLiteral(" Qt6 ");
        else
            out += common.at(next() % common.size());
    }
    out.truncate(length);
    return out;
}
