#include "editor/DocumentCommands.h"

#include "documents/DialogFilter.h"
#include "editor/DocumentFiles.h"
#include "editor/RichTextBox.h"
#include "platform/FileDialog.h"
#include "widgets/WidgetTwips.h"

#include <QGuiApplication>
#include <QListWidget>

namespace {

// The editor's full size while the sentence list is hidden, in twips.
constexpr int kEditorHeight = 6225;
constexpr int kEditorWidth = 10140;

const QColor kBlack(0, 0, 0);

// The three quoted types, then Word 2007 and later documents, which the word processor reads too.
QStringList dialogFilters()
{
    return dialogfilter::toQtFilters(DocumentCommands::kFilter +
                                     QStringLiteral("|Word 2007 文档(*.docx)|*.docx"));
}

} // namespace

const QString DocumentCommands::kFilter =
    QStringLiteral("WORD文档(*.doc)|*.doc|文本文件(*.txt)|*.txt|写字板文件(*.rtf)|*.rtf");
const QString DocumentCommands::kOpenTitle = QStringLiteral("请选择一个文件");
const QString DocumentCommands::kSaveTitle = QStringLiteral("请输入文件名");

DocumentCommands::DocumentCommands(QWidget* window, RichTextBox* editor, QListWidget* sentenceList)
    : m_window(window), m_editor(editor), m_sentenceList(sentenceList)
{
}

void DocumentCommands::restoreEditorSize()
{
    twips::setHeight(m_editor, kEditorHeight);
    twips::setWidth(m_editor, kEditorWidth);
}

void DocumentCommands::newDocument()
{
    m_editor->setPlainText(QString());
    restoreEditorSize();
    if (m_sentenceList)
        m_sentenceList->hide();
}

void DocumentCommands::open()
{
    restoreEditorSize();
    if (m_sentenceList)
        m_sentenceList->hide();

    FileDialog::Request request;
    request.mode = FileDialog::Mode::Open;
    request.title = kOpenTitle;
    request.filters = dialogFilters();
    request.selectedFilter = request.filters.constFirst();
    request.fileName = m_lastFileName;
    const std::optional<QString> chosen = FileDialog::show(m_window, request);
    if (!chosen || chosen->isEmpty())
        return;
    m_lastFileName = *chosen;

    // A file that cannot be read is skipped like any failing step: the text stays and is blackened.
    // Reading a Word document takes the word processor a second or more: show that the program works.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    editor::loadFile(*m_editor, *chosen);
    QGuiApplication::restoreOverrideCursor();
    m_editor->select(0, m_editor->text().size());
    m_editor->setSelectionColor(kBlack);
    m_editor->moveCaretToStart();
}

void DocumentCommands::save()
{
    FileDialog::Request request;
    request.mode = FileDialog::Mode::Save;
    request.title = kSaveTitle;
    request.filters = dialogFilters();
    request.fileName = m_lastFileName;
    const std::optional<QString> chosen = FileDialog::show(m_window, request);
    if (!chosen || chosen->isEmpty())
        return;
    m_lastFileName = *chosen;

    m_editor->setSelectionColor(kBlack);
    editor::saveFile(*m_editor, *chosen);
}
