#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

// The common open and save dialogs, with a seam so that tests can answer them without a dialog on
// screen.
class FileDialog
{
public:
    enum class Mode { Open, Save, OpenMany, Folder };

    struct Request
    {
        Mode mode = Mode::Open;
        QString title;
        QStringList filters;    // Qt filter entries, "description (patterns)"
        QString selectedFilter; // empty: the dialog's own choice
        QString fileName;       // offered as the initial name
    };
    struct Choice
    {
        Choice(QString name, QString filter = QString())
            : fileName(std::move(name)), filter(std::move(filter))
        {
        }
        QString fileName;
        QString filter;        // the filter selected when the user accepted; empty when not known
        QStringList fileNames; // OpenMany: every file chosen; empty means fileName alone
    };
    // The chosen file, or nothing when the user cancelled.
    using Handler = std::function<std::optional<Choice>(const Request&)>;

    // Shows the dialog modally. A save dialog adds no extension and asks nothing about an existing file.
    static std::optional<QString> show(QWidget* parent, const Request& request);
    // OpenMany and Folder: the files (or the folder) chosen; empty when the user cancelled.
    static QStringList showMany(QWidget* parent, const Request& request);
    // The same, with the filter the user had selected.
    static std::optional<Choice> choose(QWidget* parent, const Request& request);

    // Sets up a dialog as show() does: title, filters, mode, the offered name, file types named in
    // Chinese and columns wide enough for what they hold.
    static void prepare(QFileDialog& dialog, const Request& request);

    // Tests: every later dialog is given to handler instead of being shown. An empty handler restores
    // the real dialogs.
    static void setHandler(Handler handler);

private:
    static Handler& handler();
};
