#include "editor/DocumentFiles.h"

#include "documents/Loading.h"
#include "documents/RtfWriter.h"
#include "editor/RichTextBox.h"
#include "editor/RichTextConversion.h"
#include "platform/WordProcessor.h"

#include <QSaveFile>

namespace editor {

bool loadFile(RichTextBox& editor, const QString& path)
{
    const documents::Loaded loaded = documents::load(path, &WordProcessor::plainText);
    if (const QString* text = std::get_if<QString>(&loaded)) {
        fitWrapMode(editor, *text);
        editor.setPlainText(*text);
        return true;
    }
    if (const richtext::Document* doc = std::get_if<richtext::Document>(&loaded)) {
        fitWrapMode(editor, doc->text());
        setRichText(editor, *doc);
        return true;
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
