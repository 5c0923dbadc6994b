#include "editor/RichTextConversion.h"

#include "editor/LineBreaking.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>

namespace editor {
namespace {

QTextCharFormat toCharFormat(const richtext::CharFormat& f)
{
    QTextCharFormat c;
    if (!f.fontName.isEmpty())
        c.setFontFamilies({f.fontName});
    c.setFontPointSize(f.halfPoints / 2.0);
    if (f.color)
        c.setForeground(QColor(f.color->red, f.color->green, f.color->blue));
    if (f.background)
        c.setBackground(QColor(f.background->red, f.background->green, f.background->blue));
    if (f.bold)
        c.setFontWeight(QFont::Bold);
    if (f.italic)
        c.setFontItalic(true);
    if (f.underline)
        c.setFontUnderline(true);
    return c;
}

richtext::CharFormat fromCharFormat(const QTextCharFormat& c, const QFont& defaultFont)
{
    richtext::CharFormat f;
    const QStringList families = c.fontFamilies().toStringList();
    f.fontName = families.isEmpty() || families.first().isEmpty() ? defaultFont.family() : families.first();
    const double points =
        c.hasProperty(QTextFormat::FontPointSize) ? c.fontPointSize() : defaultFont.pointSizeF();
    if (points > 0)
        f.halfPoints = static_cast<int>(std::lround(points * 2));
    if (c.hasProperty(QTextFormat::ForegroundBrush) && c.foreground().style() != Qt::NoBrush) {
        const QColor color = c.foreground().color();
        f.color = richtext::Color{color.red(), color.green(), color.blue()};
    }
    if (c.hasProperty(QTextFormat::BackgroundBrush) && c.background().style() != Qt::NoBrush) {
        const QColor color = c.background().color();
        f.background = richtext::Color{color.red(), color.green(), color.blue()};
    }
    f.bold = c.fontWeight() >= QFont::Bold;
    f.italic = c.fontItalic();
    f.underline = c.fontUnderline();
    return f;
}

} // namespace

richtext::Document toRichText(const QTextDocument& document)
{
    richtext::Document out;
    const QFont defaultFont = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        richtext::Paragraph paragraph;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.length() == 0)
                continue;
            paragraph.runs.append({fragment.text(), fromCharFormat(fragment.charFormat(), defaultFont)});
        }
        out.paragraphs.append(std::move(paragraph));
    }
    return out;
}

void setRichText(QTextDocument& document, const richtext::Document& content)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    // One edit block: outside one, every insertion lays the whole paragraph out again to place the
    // cursor, which makes the build grow with the square of the runs in a paragraph.
    cursor.beginEditBlock();
    for (qsizetype i = 0; i < content.paragraphs.size(); ++i) {
        const richtext::Paragraph& p = content.paragraphs[i];
        const QTextCharFormat first =
            p.runs.isEmpty() ? QTextCharFormat() : toCharFormat(p.runs.first().format);
        if (i == 0)
            cursor.setBlockCharFormat(first);
        else
            cursor.insertBlock(QTextBlockFormat(), first);
        for (const richtext::Run& run : p.runs)
            cursor.insertText(run.text, toCharFormat(run.format));
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

namespace {

// A new, empty document with the editor's document's default font and options. Content is built
// apart and then given to the editor: an editor lays its document out again after every insertion,
// which costs ten times the build itself.
QTextDocument* freshDocument(QTextEdit& editor)
{
    QTextDocument* old = editor.document();
    auto* fresh = new QTextDocument(&editor);
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDefaultTextOption(old->defaultTextOption());
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setDefaultStyleSheet(old->defaultStyleSheet());
    return fresh;
}

void give(QTextEdit& editor, QTextDocument* fresh)
{
    fresh->setUndoRedoEnabled(editor.document()->isUndoRedoEnabled());
    editor.setDocument(fresh); // deletes the old document when the editor owned it
}

} // namespace

void setRichText(QTextEdit& editor, const richtext::Document& content)
{
    QTextDocument* fresh = freshDocument(editor);
    setRichText(*fresh, content);
    give(editor, fresh);
}

void setPlainText(QTextEdit& editor, const QString& text, const QColor& colour)
{
    QTextDocument* fresh = freshDocument(editor);
    fresh->setUndoRedoEnabled(false);
    QTextCharFormat format;
    format.setForeground(colour);
    QTextCursor cursor(fresh);
    cursor.beginEditBlock();
    cursor.setBlockCharFormat(format);
    cursor.insertText(text, format); // each '\n' begins a paragraph
    cursor.endEditBlock();
    give(editor, fresh);
}

void fitWrapMode(QTextEdit& editor, QStringView text)
{
    const QTextOption::WrapMode mode =
        wrapsAnywhere(text) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (editor.wordWrapMode() != mode)
        editor.setWordWrapMode(mode);
}

} // namespace editor
