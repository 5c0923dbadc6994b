#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

FileDialog::Handler& FileDialog::handler()
{
    static Handler h;
    return h;
}

void FileDialog::setHandler(Handler h)
{
    handler() = std::move(h);
}

std::optional<QString> FileDialog::show(QWidget* parent, const Request& request)
{
    const std::optional<Choice> c = choose(parent, request);
    if (!c)
        return std::nullopt;
    return c->fileName;
}

QStringList FileDialog::showMany(QWidget* parent, const Request& request)
{
    const std::optional<Choice> c = choose(parent, request);
    if (!c)
        return {};
    return c->fileNames.isEmpty() ? QStringList{c->fileName} : c->fileNames;
}

std::optional<FileDialog::Choice> FileDialog::choose(QWidget* parent, const Request& request)
{
    if (handler())
        return handler()(request);

    QFileDialog dialog(parent, request.title);
    dialog.setNameFilters(request.filters);
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    if (request.mode == Mode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mode == Mode::OpenMany ? QFileDialog::ExistingFiles
                           : request.mode == Mode::Folder ? QFileDialog::Directory
                                                          : QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty()) {
        const QFileInfo last(request.fileName);
        dialog.setDirectory(last.absolutePath());
        dialog.selectFile(last.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    Choice choice(dialog.selectedFiles().constFirst(), dialog.selectedNameFilter());
    choice.fileNames = dialog.selectedFiles();
    return choice;
}
