#include "editor/DocumentFiles.h"

#include "documents/RtfWriter.h"
#include "editor/RichTextBox.h"
#include "editor/RichTextConversion.h"

namespace editor {

bool show(RichTextBox& editor, const documents::Loaded& loaded)
{
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

bool loadFile(RichTextBox& editor, const QString& path, const documents::WordProcessorRead& wordProcessor,
              documents::Failure* why)
{
    const documents::Loaded loaded = documents::load(path, wordProcessor);
    if (show(editor, loaded))
        return true;
    if (why)
        *why = std::get<documents::Failure>(loaded);
    return false;
}

bool saveFile(const RichTextBox& editor, const QString& path, documents::SaveError* why)
{
    const std::optional<documents::SaveError> error =
        documents::writeFile(path, rtf::write(toRichText(*editor.document())));
    if (error && why)
        *why = *error;
    return !error;
}

} // namespace editor
