#include "editor/DocumentFiles.h"

#include "editor/RichTextBox.h"
#include "editor/RichTextConversion.h"
#include "platform/DocumentKind.h"
#include "platform/RtfReader.h"
#include "platform/RtfWriter.h"
#include "platform/TextFileDecoding.h"
#include "platform/WordProcessor.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace editor {
namespace {

std::optional<QByteArray> readWhole(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) ||
        file.size() > documents::kMaxFileBytes)
        return std::nullopt;
    QByteArray bytes = file.read(documents::kMaxFileBytes + 1);
    if (bytes.size() > documents::kMaxFileBytes || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

bool loadFile(RichTextBox& editor, const QString& path)
{
    const std::optional<QByteArray> content = readWhole(path);
    if (!content)
        return false;
    switch (documents::kindOf(QFileInfo(path).fileName(), *content)) {
    case documents::Kind::WordProcessor:
        if (const std::optional<QString> text = WordProcessor::plainText(path)) {
            editor.setPlainText(*text);
            return true;
        }
        return false;
    case documents::Kind::RichText:
        if (const std::optional<richtext::Document> doc = rtf::read(*content)) {
            setRichText(editor, *doc);
            return true;
        }
        return false;
    case documents::Kind::Text:
        if (const std::optional<QString> text = textfile::decode(*content)) {
            editor.setPlainText(*text);
            return true;
        }
        return false;
    }
    return false;
}

bool saveFile(const RichTextBox& editor, const QString& path)
{
    const QByteArray bytes = rtf::write(toRichText(*editor.document()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace editor
