#include "editor/DocumentCommands.h"

#include "documents/DialogFilter.h"
#include "documents/DocumentKind.h"
#include "editor/DocumentFiles.h"
#include "editor/RichTextBox.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>

namespace {

const QColor kBlack(0, 0, 0);

// A read shorter than this shows no bar: it would only flicker.
constexpr std::chrono::milliseconds kReadingBarDelay{200};

} // namespace

// The three quoted types, then the other documents the program reads. The dialog starts on all of them
// together, so that a folder of any of them never looks empty.
QStringList DocumentCommands::openFilters()
{
    QStringList filters =
        documents::toQtFilters(DocumentCommands::kFilter + QStringLiteral("|Word 2007 文档(*.docx)|*.docx"
                                                                          "|OpenDocument 文本(*.odt)|*.odt"
                                                                          "|WPS 文字文档(*.wps)|*.wps"
                                                                          "|PDF 文件 (*.pdf)|*.pdf"));
    filters.prepend(documents::combinedFilter(QStringLiteral("所有支持的文档"), filters));
    return filters;
}

const QString DocumentCommands::kFilter =
    QStringLiteral("WORD文档(*.doc)|*.doc|文本文件(*.txt)|*.txt|写字板文件(*.rtf)|*.rtf");
const QString DocumentCommands::kRichTextFilter = QStringLiteral("RTF 文档 (*.rtf)|*.rtf");
const QString DocumentCommands::kOpenTitle = QStringLiteral("请选择一个文件");
const QString DocumentCommands::kSaveTitle = QStringLiteral("请输入文件名");
const QString DocumentCommands::kUnsavedQuestion = QStringLiteral("文章已修改，是否保存？");
const QString DocumentCommands::kReadingText = QStringLiteral("正在读取文件……");

DocumentCommands::DocumentCommands(QWidget* window, RichTextBox* editor, std::function<void()> fullLayout)
    : QObject(window), m_window(window), m_editor(editor), m_fullLayout(std::move(fullLayout)),
      m_savedText(editor->toPlainText())
{
    setObjectName(QStringLiteral("documentCommands"));
    m_barDelay.setSingleShot(true);
    connect(&m_barDelay, &QTimer::timeout, this, [this] { showReading(true); });
}

DocumentCommands::~DocumentCommands() = default; // a read under way is killed with its job

void DocumentCommands::restoreEditorSize()
{
    if (m_fullLayout)
        m_fullLayout();
}

void DocumentCommands::markSaved()
{
    m_savedText = m_editor->toPlainText();
}

bool DocumentCommands::hasUnsavedEdits() const
{
    // Plain text only: the check's colour marks change formats, never characters.
    return m_editor->toPlainText() != m_savedText;
}

void DocumentCommands::setDocumentPath(const QString& path)
{
    if (path == m_documentPath)
        return;
    m_documentPath = path;
    emit documentChanged(path);
}

bool DocumentCommands::confirmDiscard()
{
    if (!m_asksAboutUnsaved || !hasUnsavedEdits())
        return true;
    const MessageBox::Answer answer =
        MessageBox::show(m_window, {kUnsavedQuestion, QString(), MessageBox::Icon::Question,
                                    MessageBox::Buttons::SaveDiscardCancel});
    if (answer == MessageBox::Answer::Save)
        return save();
    return answer == MessageBox::Answer::Discard;
}

void DocumentCommands::newDocument()
{
    if (!confirmDiscard())
        return;
    cancelReading();
    m_editor->setPlainText(QString());
    restoreEditorSize();
    markSaved();
    setDocumentPath(QString());
}

void DocumentCommands::open()
{
    if (!confirmDiscard())
        return;
    cancelReading();
    restoreEditorSize();

    FileDialog::Request request;
    request.mode = FileDialog::Mode::Open;
    request.title = kOpenTitle;
    request.filters = openFilters();
    request.selectedFilter = request.filters.constFirst();
    request.fileName = m_lastFileName;
    const std::optional<QString> chosen = FileDialog::show(m_window, request);
    if (!chosen || chosen->isEmpty())
        return;
    m_lastFileName = *chosen;
    startReading(*chosen);
}

void DocumentCommands::startReading(const QString& path)
{
    m_readingPath = path;
    // No edits while the read runs: the loaded text would replace them.
    m_editor->setReadOnly(true);
    m_barDelay.start(kReadingBarDelay);
    m_job = std::make_unique<ReadJob>(path, m_reading);
    connect(m_job.get(), &ReadJob::finished, this, &DocumentCommands::finishReading);
    m_job->start();
    emit readingChanged(true);
}

void DocumentCommands::finishReading(const documents::Read& read)
{
    m_wordProcessorLimit = m_job->wordProcessorLimit();
    // The job is still inside its signal: it goes once the event loop comes back.
    m_job.release()->deleteLater();
    endReading();
    // A cancelled read leaves the article exactly as it was.
    if (const documents::Failure* failure = std::get_if<documents::Failure>(&read);
        !failure || *failure != documents::Failure::Cancelled)
        finishOpen(m_readingPath, read);
}

void DocumentCommands::endReading()
{
    m_barDelay.stop();
    showReading(false);
    emit readingChanged(false);
}

void DocumentCommands::cancelReading()
{
    if (m_job)
        m_job->cancel();
}

void DocumentCommands::finishOpen(const QString& path, const documents::Read& read)
{
    // The text ends black with the caret at the start.
    if (editor::show(*m_editor, read, kBlack)) {
        markSaved();
        setDocumentPath(path);
    } else {
        MessageBox::show(
            m_window,
            {documents::openFailureMessage(path, std::get<documents::Failure>(read), m_wordProcessorLimit),
             QStringLiteral("打开失败"), MessageBox::Icon::Error, MessageBox::Buttons::Ok});
        m_editor->select(0, m_editor->text().size());
        m_editor->setSelectionColor(kBlack);
    }
    m_editor->moveCaretToStart();
}

void DocumentCommands::showReading(bool reading)
{
    if (reading && !m_readingBar && m_editor->parentWidget()) {
        m_readingBar = new QWidget(m_editor->parentWidget());
        m_readingBar->setObjectName(QStringLiteral("readingBar"));
        m_readingBar->setAutoFillBackground(true);
        auto* layout = new QHBoxLayout(m_readingBar);
        auto* label = new QLabel(kReadingText, m_readingBar);
        label->setObjectName(QStringLiteral("readingLabel"));
        auto* cancel = new QPushButton(QStringLiteral("取消"), m_readingBar);
        cancel->setObjectName(QStringLiteral("cancelReading"));
        layout->addWidget(label, 1);
        layout->addWidget(cancel);
        QObject::connect(cancel, &QPushButton::clicked, m_readingBar, [this] { cancelReading(); });
    }
    if (reading && !m_escape && m_window) {
        m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_window);
        m_escape->setObjectName(QStringLiteral("cancelReadingKey"));
        QObject::connect(m_escape, &QShortcut::activated, m_escape, [this] { cancelReading(); });
    }
    if (m_escape)
        m_escape->setEnabled(reading);
    if (m_readingBar) {
        const int height = m_readingBar->sizeHint().height();
        m_readingBar->setGeometry(m_editor->x(), m_editor->y(), m_editor->width(), height);
        m_readingBar->setVisible(reading);
        if (reading)
            m_readingBar->raise();
        // The article stays in view below the bar, as it is until the read ends.
        m_editor->reserveTop(reading ? height : 0);
    }
    if (!reading)
        m_editor->setReadOnly(false);
    if (reading)
        m_editor->viewport()->setCursor(Qt::BusyCursor);
    else
        m_editor->viewport()->unsetCursor();
    if (m_window) {
        if (reading)
            m_window->setCursor(Qt::BusyCursor);
        else
            m_window->unsetCursor();
    }
}

bool DocumentCommands::confirmReplacing(const QString& path)
{
    QFile existing(path);
    if (!existing.open(QIODevice::ReadOnly) || !documents::isFormattedDocument(existing.read(8)))
        return true;
    const QString question =
        QStringLiteral(
            "“%1”是 Word/WPS 文档。保存会用 RTF 格式替换它，原有的排版、图片和表格将丢失。要替换吗？")
            .arg(QFileInfo(path).fileName());
    MessageBox::Request request{question, QString(), MessageBox::Icon::Question, MessageBox::Buttons::YesNo};
    request.defaultAnswer = MessageBox::Answer::No;
    return MessageBox::show(m_window, request) == MessageBox::Answer::Yes;
}

bool DocumentCommands::save()
{
    FileDialog::Request request;
    request.mode = FileDialog::Mode::Save;
    request.title = kSaveTitle;
    // Whatever the name, a save writes RTF: the dialog says so and proposes a name that does too, so
    // that Enter never writes RTF over the Word file just opened.
    request.filters = documents::toQtFilters(kFilter + u'|' + kRichTextFilter);
    request.selectedFilter = request.filters.constLast();
    request.fileName = documents::richTextFileName(m_lastFileName);
    const std::optional<QString> chosen = FileDialog::show(m_window, request);
    if (!chosen || chosen->isEmpty())
        return false;
    m_lastFileName = *chosen;
    if (!confirmReplacing(*chosen))
        return false;

    m_editor->setSelectionColor(kBlack);
    documents::SaveError error{};
    if (!editor::saveFile(*m_editor, *chosen, &error)) {
        MessageBox::show(m_window, {documents::saveFailureMessage(*chosen, error), QStringLiteral("保存失败"),
                                    MessageBox::Icon::Error, MessageBox::Buttons::Ok});
        return false;
    }
    markSaved();
    setDocumentPath(*chosen);
    return true;
}
