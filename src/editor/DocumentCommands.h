#pragma once

#include <QString>

class QListWidget;
class QWidget;
class RichTextBox;

// New, Open and Save of one window's article editor. Each window owns one, so each keeps the file
// name of its own last dialog and offers it again in the next; a cancelled dialog changes nothing.
class DocumentCommands
{
public:
    // sentenceList: the window's sentence list, hidden by New and Open; windows that only save pass none.
    DocumentCommands(QWidget* window, RichTextBox* editor, QListWidget* sentenceList = nullptr);

    // xinjian: empties the editor without asking, restores its full size and hides the sentence list.
    void newDocument();
    // dakai: restores the editor's size, asks for a file and loads it; the text ends black with the
    // caret at the start. A file that cannot be read leaves the text as it was.
    void open();
    // baocun: asks for a file name, blackens the selection and writes the whole content as rich text.
    void save();

    const QString& lastFileName() const { return m_lastFileName; }

    static const QString kFilter;
    static const QString kOpenTitle;
    static const QString kSaveTitle;

private:
    void restoreEditorSize();

    QWidget* m_window;
    RichTextBox* m_editor;
    QListWidget* m_sentenceList;
    QString m_lastFileName;
};
