#include "platform/FileDialog.h"

#include "documents/DialogFilter.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

namespace {

// Qt's catalogue leaves the type column in English ("Folder", "docx File").
class ChineseTypeNames : public QFileIconProvider
{
public:
    QString type(const QFileInfo& info) const override
    {
        return info.isDir() ? documents::kFolderTypeName : documents::fileTypeName(info.suffix());
    }
};

// Size, type and date as wide as their contents; the name takes the rest.
void fitColumns(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return;
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    // Room for a useful name column beside them.
    dialog.resize(std::max(dialog.width(), dialog.sizeHint().width() * 3 / 2), dialog.height());
}

} // namespace

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
    prepare(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    Choice choice(dialog.selectedFiles().constFirst(), dialog.selectedNameFilter());
    choice.fileNames = dialog.selectedFiles();
    return choice;
}

void FileDialog::prepare(QFileDialog& dialog, const Request& request)
{
    dialog.setWindowTitle(request.title);
    // Our own dialog, whose words come from the program's catalogues and the names below.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // One for the program: the dialog's file-system model reads it from its own thread until it goes.
    static ChineseTypeNames names;
    dialog.setIconProvider(&names);
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
    fitColumns(dialog);
}
