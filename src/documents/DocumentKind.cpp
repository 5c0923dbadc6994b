#include "documents/DocumentKind.h"

#include "documents/TextFileDecoding.h"

#include <QFileInfo>
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
    // As PDF readers do: a byte-order mark, blank lines or spaces may stand before the header.
    if (content.first(std::min<qsizetype>(content.size(), kPdfHeaderWindow)).contains("%PDF-"))
        return Kind::Pdf;
    return Kind::Text;
}

bool isFormattedDocument(const QByteArray& content)
{
    // By content alone: the name decides nothing here.
    const Kind kind = kindOf(QString(), content);
    return kind == Kind::WordProcessor || kind == Kind::Pdf;
}

QString richTextFileName(const QString& path)
{
    if (path.isEmpty())
        return path;
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    if (suffix.compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0)
        return path;
    // Only the last extension goes: "第二章.docx" becomes "第二章.rtf", "v1.2.txt" becomes "v1.2.rtf".
    const bool hasExtension = !suffix.isEmpty() && info.fileName().size() > suffix.size() + 1;
    const QString stem = hasExtension ? path.chopped(suffix.size() + 1) : path;
    return stem + QStringLiteral(".rtf");
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
