#include "support/FileDialogScript.h"

FileDialogScript::FileDialogScript()
{
    FileDialog::setHandler([this](const FileDialog::Request& r) -> std::optional<FileDialog::Choice> {
        shown.append(r);
        return m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
    });
}

FileDialogScript::~FileDialogScript()
{
    FileDialog::setHandler({});
}
