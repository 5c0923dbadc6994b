#include "editor/DocumentFiles.h"

#include "documents/RtfWriter.h"
#include "editor/RichTextBox.h"
#include "editor/RichTextConversion.h"

namespace editor {

bool show(RichTextBox& editor, const documents::Read& loaded, std::optional<QColor> colour)
{
    // The colour goes in with the text: colouring it afterwards would lay the whole text out twice.
    if (const QString* text = std::get_if<QString>(&loaded)) {
        fitWrapMode(editor, *text);
        if (colour)
            setPlainText(editor, *text, *colour);
        else
            editor.setPlainText(*text);
        return true;
    }
    if (const richtext::Document* doc = std::get_if<richtext::Document>(&loaded)) {
        fitWrapMode(editor, doc->text());
        if (!colour) {
            setRichText(editor, *doc);
            return true;
        }
        richtext::Document coloured = *doc;
        const richtext::Color c{colour->red(), colour->green(), colour->blue()};
        for (richtext::Paragraph& p : coloured.paragraphs)
            for (richtext::Run& run : p.runs)
                run.format.color = c;
        setRichText(editor, coloured);
        return true;
    }
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
