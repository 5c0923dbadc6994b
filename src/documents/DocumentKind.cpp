#include "documents/DocumentKind.h"

#include "documents/TextFileDecoding.h"

#include <QStringDecoder>

namespace documents {

bool isWordDocumentName(const QString& fileName)
{
    return fileName.endsWith(QLatin1String("doc")) || fileName.endsWith(QLatin1String("DOC")) ||
           fileName.endsWith(QLatin1String("Doc"));
}

Kind kindOf(const QString& fileName, const QByteArray& content)
{
    if (isWordDocumentName(fileName))
        return Kind::WordProcessor;
    if (content.startsWith("{\\rtf"))
        return Kind::RichText;
    if (content.startsWith("PK\x03\x04") || content.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return Kind::WordProcessor;
    if (content.startsWith("%PDF-"))
        return Kind::Pdf;
    return Kind::Text;
}

std::optional<QString> wordProcessorText(const QByteArray& output)
{
    if (!output.startsWith("\xEF\xBB\xBF"))
        return std::nullopt;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder(QByteArrayView(output).sliced(3));
    if (decoder.hasError() || !textfile::looksLikeText(text))
        return std::nullopt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Every paragraph ends with a line feed, and one more follows the last.
    for (int i = 0; i < 2 && text.endsWith(u'\n'); ++i)
        text.chop(1);
    return text;
}

} // namespace documents
