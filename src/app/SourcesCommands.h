#pragma once

#include "sources/Library.h"
#include "sources/LocalReport.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class Form1;
class LocalCheckWindow;
class QProgressDialog;
class QThread;
class QWidget;
class RichTextBox;

// The window's part of the library of sources: the menu 来源库 (add files, add a folder, manage, 本地比对)
// and the option of the shortest repeated run. Reading goes through the read route with a progress
// bar; the check runs in a thread of its own; neither holds the window.
class SourcesCommands : public QObject
{
    Q_OBJECT
public:
    SourcesCommands(Form1& form, RichTextBox& editor, QString libraryPath, QObject* parent = nullptr);
    ~SourcesCommands() override;

    // The last local check, for the check report.
    const std::optional<sources::LocalReport>& lastReport() const { return m_last; }
    // The window of the last local check while it is open, else null.
    QWidget* localCheckWindow() const;
    // Adds files and folders to the library, as the menu items do once their dialog has answered.
    void add(const QStringList& paths);
    void runCheck();

    static int minimumRun(); // the option, kept in the settings

signals:
    void addingFinished();
    void checkFinished();

private:
    struct AddJob;
    struct CheckJob;
    static void startAdding(const std::shared_ptr<AddJob>& job, QProgressDialog* bar, QObject* worker,
                            QThread* thread);
    void addingDone(const AddJob& job, bool cancelled);
    void manage();
    void chooseMinimumRun();
    void checkDone(const std::shared_ptr<CheckJob>& job);
    void tell(const QString& text, bool error = false);

    Form1& m_form;
    RichTextBox& m_editor;
    sources::Library m_library;
    std::optional<sources::LocalReport> m_last;
    bool m_busy = false;
    QPointer<LocalCheckWindow> m_window;
};
