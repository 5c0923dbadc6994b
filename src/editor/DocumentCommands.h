#pragma once

#include "documents/Loading.h"
#include "platform/ReadJob.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QShortcut;
class QWidget;
class RichTextBox;

// New, Open and Save of one window's article editor. Each window owns one, so each keeps the file
// name of its own last dialog and offers it again in the next; a cancelled dialog changes nothing.
// New and Open ask before they replace text with edits not yet saved. A chosen file is read while the
// window goes on (the readers in a worker thread, LibreOffice in its own process): the editor takes no
// edits meanwhile, and a read that lasts longer than a blink shows a bar over it that says
// "正在读取文件……" with a button and Esc to cancel.
class DocumentCommands : public QObject
{
    Q_OBJECT
public:
    // fullLayout: the window's own way of giving the editor its full size back before New and Open
    // (the main window also hides its sentence list then); windows that only save pass none.
    DocumentCommands(QWidget* window, RichTextBox* editor, std::function<void()> fullLayout = {});
    ~DocumentCommands() override;

    // Tests and benchmarks: the reader program, limits and word processor of the next reads. Found as
    // the window's child "documentCommands".
    void setReading(ReadJobOptions reading) { m_reading = std::move(reading); }

    // xinjian: after the unsaved-text question, empties the editor, restores its full size and hides
    // the sentence list.
    void newDocument();
    // dakai: after the unsaved-text question, restores the editor's size, asks for a file and loads it;
    // the text ends black with the caret at the start. A file that cannot be read leaves the text and
    // says why.
    void open();
    // baocun: asks for a file name, blackens the selection and writes the whole content as rich text.
    // A Word, WPS or PDF file is replaced only after a question whose default keeps it. False when the
    // dialog was cancelled, the replacement declined or the write failed (which a message explains).
    bool save();

    // Whether the article's text (not its colours) differs from what was last loaded, saved or newly
    // begun.
    bool hasUnsavedEdits() const;
    // Asks "文章已修改，是否保存？" when there are unsaved edits. True when the caller may go on: nothing
    // to lose, saved, or the user chose not to save.
    bool confirmDiscard();

    // A chosen file is being read.
    bool isReading() const { return m_job != nullptr; }
    // The read under way, for tests that watch its processes; null when none is.
    const ReadJob* readJob() const { return m_job.get(); }
    // Ends such a read at once: its processes are killed and nothing is loaded.
    void cancelReading();

    const QString& lastFileName() const { return m_lastFileName; }
    // The file the editor's text was last opened from or saved to; empty after New or before either.
    const QString& documentPath() const { return m_documentPath; }
    // An editor whose text is only material (the comparator's reference) asks nothing before Open.
    void setAsksAboutUnsaved(bool asks) { m_asksAboutUnsaved = asks; }

    static const QString kFilter;
    // The open dialog's filters: every document the program reads together, then each type.
    static QStringList openFilters();
    static const QString kRichTextFilter; // offered and selected by the save dialog after kFilter
    static const QString kOpenTitle;
    static const QString kSaveTitle;
    static const QString kUnsavedQuestion;
    static const QString kReadingText;

signals:
    // A read began or ended: the window's commands that use the article wait for its end.
    void readingChanged(bool reading);
    // documentPath() changed: a file was opened or saved, or New began a text of no file.
    void documentChanged(const QString& path);

private:
    void restoreEditorSize();
    void startReading(const QString& path);
    void finishReading(const documents::Read& read);
    void endReading();
    void finishOpen(const QString& path, const documents::Read& read);
    void showReading(bool reading);
    void markSaved();
    void setDocumentPath(const QString& path);
    // Whether path may be written: true unless it holds a formatted document and the user keeps it.
    bool confirmReplacing(const QString& path);

    QWidget* m_window;
    RichTextBox* m_editor;
    std::function<void()> m_fullLayout;
    QString m_lastFileName;
    QString m_savedText; // the editor's text when last loaded, saved or begun
    QString m_readingPath;
    QString m_documentPath;
    bool m_asksAboutUnsaved = true;
    ReadJobOptions m_reading;
    std::unique_ptr<ReadJob> m_job;
    std::chrono::milliseconds m_wordProcessorLimit{0}; // of the last word-processor read
    QTimer m_barDelay;
    QWidget* m_readingBar = nullptr;
    QShortcut* m_escape = nullptr;
};
