#pragma once

#include "platform/FileDialog.h"

#include <QList>

#include <optional>

// Answers every file dialog while it lives with the queued answers in order (a file name and filter, or
// nothing for Cancel; Cancel once the queue is empty), and records what each dialog asked.
class FileDialogScript
{
public:
    FileDialogScript();
    ~FileDialogScript();
    FileDialogScript(const FileDialogScript&) = delete;
    FileDialogScript& operator=(const FileDialogScript&) = delete;

    // filter: the one selected in the dialog; empty for a dialog that tells none.
    void choose(const QString& fileName, const QString& filter = QString())
    {
        m_answers.append(FileDialog::Choice(fileName, filter));
    }
    void cancel() { m_answers.append(std::nullopt); }

    QList<FileDialog::Request> shown;

private:
    QList<std::optional<FileDialog::Choice>> m_answers;
};
