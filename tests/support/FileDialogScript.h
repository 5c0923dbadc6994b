#pragma once

#include "platform/FileDialog.h"

#include <QList>

#include <optional>

// Answers every file dialog while it lives with the queued answers in order (a file name, or nothing
// for Cancel; Cancel once the queue is empty), and records what each dialog asked.
class FileDialogScript
{
public:
    FileDialogScript();
    ~FileDialogScript();
    FileDialogScript(const FileDialogScript&) = delete;
    FileDialogScript& operator=(const FileDialogScript&) = delete;

    void choose(const QString& fileName) { m_answers.append(fileName); }
    void cancel() { m_answers.append(std::nullopt); }

    QList<FileDialog::Request> shown;

private:
    QList<std::optional<QString>> m_answers;
};
