#include "documents/Loading.h"

#include "documents/DocumentKind.h"
#include "documents/RtfReader.h"
#include "documents/TextFileDecoding.h"

#include <QFile>
#include <QFileInfo>

namespace documents {
namespace {

std::variant<QByteArray, Failure> readWhole(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Failure::Missing;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return Failure::Unreadable;
    if (file.size() > kMaxFileBytes)
        return Failure::TooLarge;
    QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Failure::Unreadable;
    if (bytes.size() > kMaxFileBytes)
        return Failure::TooLarge;
    return bytes;
}

} // namespace

Loaded load(const QString& path, const WordProcessorRead& wordProcessor)
{
    const std::variant<QByteArray, Failure> content = readWhole(path);
    if (const Failure* failure = std::get_if<Failure>(&content))
        return *failure;
    const QByteArray& bytes = std::get<QByteArray>(content);
    switch (kindOf(QFileInfo(path).fileName(), bytes)) {
    case Kind::WordProcessor:
        if (std::optional<QString> text = wordProcessor(path))
            return std::move(*text);
        return Failure::WordProcessorFailed;
    case Kind::RichText:
        // The reader refuses only what does not start like rich text.
        if (std::optional<richtext::Document> doc = rtf::read(bytes))
            return std::move(*doc);
        return Failure::NotText;
    case Kind::Text:
        if (std::optional<QString> text = textfile::decode(bytes))
            return std::move(*text);
        return Failure::NotText;
    }
    return Failure::NotText;
}

} // namespace documents
