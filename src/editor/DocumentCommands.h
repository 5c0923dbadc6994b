#pragma once

#include "documents/Loading.h"

#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QShortcut;
class QWidget;
class RichTextBox;
class WordProcessorJob;

// New, Open and Save of one window's article editor. Each window owns one, so each keeps the file
// name of its own last dialog and offers it again in the next; a cancelled dialog changes nothing.
// New and Open ask before they replace text with edits not yet saved. A document that LibreOffice has
// to read is read while the window goes on: the editor takes no edits meanwhile, a bar over it says
// "正在读取文件……" with a button and Esc to cancel.
class DocumentCommands
{
public:
    // fullLayout: the window's own way of giving the editor its full size back before New and Open
    // (the main window also hides its sentence list then); windows that only save pass none.
    DocumentCommands(QWidget* window, RichTextBox* editor, std::function<void()> fullLayout = {});
    ~DocumentCommands();

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

    // A read through LibreOffice is under way.
    bool isReading() const { return m_job != nullptr; }
    // Ends such a read: the word processor is killed, nothing is loaded.
    void cancelReading();

    const QString& lastFileName() const { return m_lastFileName; }

    static const QString kFilter;
    static const QString kRichTextFilter; // offered and selected by the save dialog after kFilter
    static const QString kOpenTitle;
    static const QString kSaveTitle;
    static const QString kUnsavedQuestion;
    static const QString kReadingText;

private:
    void restoreEditorSize();
    void startReading(const QString& path);
    void finishReading(const documents::WordProcessorResult& result);
    void finishOpen(const QString& path, const documents::Loaded& loaded);
    void showReading(bool reading);
    void markSaved();
    // Whether path may be written: true unless it holds a formatted document and the user keeps it.
    bool confirmReplacing(const QString& path);

    QWidget* m_window;
    RichTextBox* m_editor;
    std::function<void()> m_fullLayout;
    QString m_lastFileName;
    QString m_savedText; // the editor's text when last loaded, saved or begun
    QString m_readingPath;
    std::unique_ptr<WordProcessorJob> m_job;
    QWidget* m_readingBar = nullptr;
    QShortcut* m_escape = nullptr;
};
