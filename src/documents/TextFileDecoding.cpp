#include "documents/TextFileDecoding.h"

#include <unicode/ucnv.h>

#include <QStringDecoder>

#include <memory>

namespace textfile {
namespace {

QString decodeGbk(const QByteArray& bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, void (*)(UConverter*)> conv(ucnv_open("windows-936", &status), ucnv_close);
    if (U_FAILURE(status) || !conv)
        return QString::fromLatin1(bytes);
    QString out(bytes.size() + 1, Qt::Uninitialized);
    const int32_t length =
        ucnv_toUChars(conv.get(), reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                      bytes.constData(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return QString(bytes.size(), QChar::ReplacementCharacter);
    out.truncate(length);
    return out;
}

std::optional<QString> decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes, bool strict)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (strict && decoder.hasError())
        return std::nullopt;
    return text;
}

QString normaliseLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

bool looksLikeText(const QString& text)
{
    qsizetype controls = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0)
            return false;
        // Tab, line feed, vertical tab, form feed, carriage return, DOS end of file and escape occur in text.
        if (u < 0x20 && u != '\t' && u != '\n' && u != 0x0B && u != 0x0C && u != '\r' && u != 0x1A &&
            u != 0x1B)
            ++controls;
    }
    return controls * 20 <= text.size();
}

std::optional<QString> decode(const QByteArray& bytes)
{
    std::optional<QString> text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = decodeWith(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3), false);
    else if (bytes.startsWith("\xFF\xFE"))
        text = decodeWith(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2), false);
    else if (bytes.startsWith("\xFE\xFF"))
        text = decodeWith(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2), false);
    else if (bytes.contains('\0'))
        return std::nullopt;
    else if (!(text = decodeWith(QStringConverter::Utf8, bytes, true)))
        text = decodeGbk(bytes);
    if (!looksLikeText(*text))
        return std::nullopt;
    return normaliseLineBreaks(std::move(*text));
}

} // namespace textfile
