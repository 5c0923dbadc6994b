#include "documents/TextFileDecoding.h"
#include "support/NamedRows.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using rows::PrintTo;

struct DecodeRow
{
    const char* name;
    QByteArray bytes;
    std::optional<QString> text;
};

using TextFileDecode = ::testing::TestWithParam<DecodeRow>;

TEST_P(TextFileDecode, Decodes)
{
    EXPECT_EQ(textfile::decode(GetParam().bytes), GetParam().text);
}

QByteArray utf16(const QString& s, bool bigEndian)
{
    QByteArray out = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : s) {
        const char hi = static_cast<char>(c.unicode() >> 8), lo = static_cast<char>(c.unicode() & 0xFF);
        out += bigEndian ? QByteArray{&hi, 1} + QByteArray{&lo, 1} : QByteArray{&lo, 1} + QByteArray{&hi, 1};
    }
    return out;
}

// A hundred letters, every tenth from the tenth on a control character.
QByteArray withControls(int count)
{
    QByteArray bytes(100, 'x');
    for (int i = 1; i <= count; ++i)
        bytes[10 * i] = char(i);
    return bytes;
}

const QString kSample = QStringLiteral("中文，ABC\n第二行😀");

INSTANTIATE_TEST_SUITE_P(
    TextFile, TextFileDecode,
    ::testing::Values(
        DecodeRow{"utf8", kSample.toUtf8(), kSample},
        DecodeRow{"utf8Bom", "\xEF\xBB\xBF" + kSample.toUtf8(), kSample},
        DecodeRow{"utf16le", utf16(kSample, false), kSample},
        DecodeRow{"utf16be", utf16(kSample, true), kSample},
        DecodeRow{"gbk",
                  "\xD6\xD0\xCE\xC4\xA3\xAC"
                  "ABC\r\n\xB5\xDA\xB6\xFE\xD0\xD0",
                  QStringLiteral("中文，ABC\n第二行")},
        DecodeRow{"ascii", "plain", QStringLiteral("plain")}, DecodeRow{"empty", "", QString()},
        DecodeRow{"lineBreaks", "a\r\nb\rc\nd", QStringLiteral("a\nb\nc\nd")},
        DecodeRow{"tabsAndFormFeed", "a\tb\fc", QStringLiteral("a\tb\fc")},
        DecodeRow{"nulIsBinary", QByteArray("ab\0cd", 5), std::nullopt},
        DecodeRow{"pngIsBinary", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), std::nullopt},
        DecodeRow{"controlsAreBinary", "\x01\x02\x03\x04xyz", std::nullopt},
        DecodeRow{"oneControlInAHundredIsText", withControls(1), QString::fromLatin1(withControls(1))},
        DecodeRow{"sixControlsInAHundredAreBinary", withControls(6), std::nullopt},
        DecodeRow{"utf16WithNulIsBinary", utf16(QStringLiteral("a\u0000b"), false), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
