#include "documents/ListLabels.h"

#include <algorithm>

namespace documents::listlabels {
namespace {

// Beyond this a letter label is no label anyone counts; like Roman numerals past 3999 it falls back
// to decimal, and no start value from a file makes a label of millions of letters.
constexpr qint64 kMaxLetterRepeat = 100;

QString letters(qint64 value, QChar first)
{
    // a … z, then aa … zz, as word processors count: the letter repeats.
    if (value <= 0 || (value - 1) / 26 >= kMaxLetterRepeat)
        return QString::number(value);
    const qsizetype repeat = static_cast<qsizetype>((value - 1) / 26 + 1);
    return QString(repeat, QChar(static_cast<char16_t>(first.unicode() + (value - 1) % 26)));
}

QString roman(qint64 value, bool upper)
{
    if (value <= 0 || value >= 4000)
        return QString::number(value);
    static const struct
    {
        int value;
        const char* digits;
    } table[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                 {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    for (const auto& row : table) {
        while (value >= row.value) {
            out += QLatin1String(row.digits);
            value -= row.value;
        }
    }
    return upper ? out.toUpper() : out;
}

QString chinese(qint64 value)
{
    static const QString digits = QStringLiteral("〇一二三四五六七八九");
    if (value < 0 || value >= 10000)
        return QString::number(value);
    if (value < 10)
        return QString(digits.at(value));
    if (value < 20)
        return QStringLiteral("十") + (value % 10 ? QString(digits.at(value % 10)) : QString());
    if (value < 100)
        return QString(digits.at(value / 10)) + QStringLiteral("十") +
               (value % 10 ? QString(digits.at(value % 10)) : QString());
    // 一百, 一百零五, 一百一十, 一千零一十 …: a run of zeros inside the number is read as one 零.
    static const QString units = QStringLiteral("千百十");
    QString out;
    bool zero = false;
    for (int i = 0, divisor = 1000; divisor > 0; ++i, divisor /= 10) {
        const int digit = static_cast<int>(value / divisor % 10);
        if (digit == 0) {
            zero = !out.isEmpty();
            continue;
        }
        if (zero)
            out += u'零';
        zero = false;
        out += digits.at(digit);
        if (divisor > 1)
            out += units.at(i);
    }
    return out;
}

// A cycle of signs counted as letters are: after the last sign come two, 甲甲, 甲乙 …
QString cyclic(qint64 value, QStringView signs)
{
    if (value <= 0)
        return QString::number(value);
    QString out;
    for (qint64 n = value - 1;; n = n / signs.size() - 1) {
        out.prepend(signs.at(n % signs.size()));
        if (n < signs.size())
            break;
    }
    return out;
}

} // namespace

Format fromWordFormat(QStringView numFmt)
{
    if (numFmt == u"decimalZero")
        return Format::DecimalZero;
    if (numFmt == u"lowerLetter")
        return Format::LowerLetter;
    if (numFmt == u"upperLetter")
        return Format::UpperLetter;
    if (numFmt == u"lowerRoman")
        return Format::LowerRoman;
    if (numFmt == u"upperRoman")
        return Format::UpperRoman;
    if (numFmt == u"chineseCounting" || numFmt == u"chineseCountingThousand" || numFmt == u"japaneseCounting")
        return Format::Chinese;
    if (numFmt == u"ideographTraditional")
        return Format::WordHeavenlyStem;
    if (numFmt == u"ideographZodiac")
        return Format::EarthlyBranch;
    if (numFmt == u"decimalEnclosedCircle" || numFmt == u"decimalEnclosedCircleChinese")
        return Format::CircledDigit;
    if (numFmt == u"none")
        return Format::None;
    return Format::Decimal;
}

Format fromOdfFormat(QStringView numFormat)
{
    if (numFormat.isEmpty())
        return Format::None;
    if (numFormat == u"a")
        return Format::LowerLetter;
    if (numFormat == u"A")
        return Format::UpperLetter;
    if (numFormat == u"i")
        return Format::LowerRoman;
    if (numFormat == u"I")
        return Format::UpperRoman;
    if (numFormat.startsWith(u'一'))
        return Format::Chinese;
    if (numFormat.startsWith(u'甲'))
        return Format::HeavenlyStem;
    if (numFormat.startsWith(u'子'))
        return Format::EarthlyBranch;
    if (numFormat.startsWith(u'①'))
        return Format::CircledDigit;
    return Format::Decimal;
}

QString number(qint64 value, Format format)
{
    switch (format) {
    case Format::Decimal:
        return QString::number(value);
    case Format::DecimalZero:
        return value >= 0 && value < 10 ? u'0' + QString::number(value) : QString::number(value);
    case Format::LowerLetter:
        return letters(value, u'a');
    case Format::UpperLetter:
        return letters(value, u'A');
    case Format::LowerRoman:
        return roman(value, false);
    case Format::UpperRoman:
        return roman(value, true);
    case Format::Chinese:
        return chinese(value);
    case Format::HeavenlyStem:
        return cyclic(value, u"甲乙丙丁戊己庚辛壬癸");
    case Format::WordHeavenlyStem:
        return value >= 1 && value <= 10 ? cyclic(value, u"甲乙丙丁戊己庚辛壬癸") : QString::number(value);
    case Format::EarthlyBranch:
        return cyclic(value, u"子丑寅卯辰巳午未申酉戌亥");
    case Format::CircledDigit:
        return value >= 1 && value <= 20 ? QString(QChar(static_cast<char16_t>(0x2460 + value - 1)))
                                         : QString::number(value);
    case Format::None:
        return QString();
    }
    return QString::number(value);
}

QString bullet(int level)
{
    static const QString bullets[] = {QStringLiteral("•"), QStringLiteral("◦"), QStringLiteral("▪")};
    return bullets[std::max(0, level) % 3];
}

QString indent(int level)
{
    return QString(4 * (level + 1), u' ');
}

} // namespace documents::listlabels
