#include "app/SourcesCommands.h"

#include "app/Form1.h"
#include "app/LocalCheckWindow.h"
#include "editor/DocumentCommands.h"
#include "editor/MarkColors.h"
#include "editor/RichTextBox.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "sources/SourceAdding.h"
#include "widgets/KeyboardRoute.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QThread>
#include <QVBoxLayout>

#include <array>
#include <atomic>

namespace {

const QString kMinimumRunKey = QStringLiteral("sources/minimumRun");
// A bar shows only for work that lasts.
constexpr int kProgressDelayMs = 200;

} // namespace

// What the adding's thread is given and gives back.
struct SourcesCommands::AddJob
{
    QStringList files;
    QString libraryPath;
    std::array<int, 3> counts{}; // read, skipped, failed
    QStringList failures;
    QString notice;
    bool unopened = false;
};

// What the check's thread is given and gives back.
struct SourcesCommands::CheckJob
{
    QString libraryPath;
    QString article;
    quint64 textVersion = 0;
    int run = sources::kDefaultRun;
    std::atomic<bool> cancel{false};
    sources::LocalReport report;
    QHash<qint64, QString> sourceTexts; // of the sources with passages, for the side-by-side view
    QString error;
    QString notice;
};

SourcesCommands::SourcesCommands(Form1& form, RichTextBox& editor, QString libraryPath, QObject* parent)
    : QObject(parent), m_form(form), m_editor(editor), m_library(std::move(libraryPath))
{
    const MainMenus& m = form.menus();
    m.localCheck->setShortcut(QKeySequence(Qt::Key_F9));
    connect(m.addSourceFiles, &QAction::triggered, this, [this] {
        add(FileDialog::showMany(&m_form,
                                 {FileDialog::Mode::OpenMany, QStringLiteral("添加来源文件"),
                                  DocumentCommands::openFilters() << QStringLiteral("所有文件 (*)")}));
    });
    connect(m.addSourceFolder, &QAction::triggered, this, [this] {
        add(FileDialog::showMany(&m_form, {FileDialog::Mode::Folder, QStringLiteral("添加来源文件夹")}));
    });
    connect(m.manageSources, &QAction::triggered, this, &SourcesCommands::manage);
    connect(m.localCheck, &QAction::triggered, this, &SourcesCommands::runCheck);
    connect(m.localRun, &QAction::triggered, this, &SourcesCommands::chooseMinimumRun);
}

SourcesCommands::~SourcesCommands() = default;

int SourcesCommands::minimumRun()
{
    return std::clamp(QSettings().value(kMinimumRunKey, sources::kDefaultRun).toInt(), sources::kMinRun,
                      sources::kMaxRun);
}

QWidget* SourcesCommands::localCheckWindow() const
{
    return m_window;
}

void SourcesCommands::tell(const QString& text, bool error)
{
    MessageBox::show(&m_form,
                     {text, QString(), error ? MessageBox::Icon::Error : MessageBox::Icon::Information});
}

void SourcesCommands::chooseMinimumRun()
{
    bool ok = false;
    const int run = QInputDialog::getInt(
        &m_form, QStringLiteral("本地比对的最短重复字数"),
        QStringLiteral("连续相同多少字才算重复（%1–%2）：").arg(sources::kMinRun).arg(sources::kMaxRun),
        minimumRun(), sources::kMinRun, sources::kMaxRun, 1, &ok);
    if (ok)
        QSettings().setValue(kMinimumRunKey, run);
}

void SourcesCommands::add(const QStringList& paths)
{
    if (paths.isEmpty() || m_busy)
        return;
    m_busy = true;
    auto job = std::make_shared<AddJob>();
    job->files = sources::sourceFiles(paths);
    job->libraryPath = m_library.filePath();
    auto* bar = new QProgressDialog(QString(), QStringLiteral("取消"), 0, std::max<int>(job->files.size(), 1),
                                    &m_form);
    bar->setObjectName(QStringLiteral("sourcesProgress"));
    bar->setWindowTitle(QStringLiteral("来源库"));
    bar->setMinimumDuration(kProgressDelayMs);
    bar->setAutoReset(false);
    bar->setAutoClose(false);

    // The reading, the indexing and the library's writes run in a thread of their own, with a library
    // connection of that thread; the window only shows the progress.
    auto* thread = new QThread(this);
    auto* worker = new QObject;
    worker->moveToThread(thread);
    connect(thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(thread, &QThread::started, worker, [=] { startAdding(job, bar, worker, thread); });
    connect(thread, &QThread::finished, this, [this, job, thread, bar] {
        const bool cancelled = bar->property("cancelled").toBool() && !job->unopened;
        thread->deleteLater();
        bar->deleteLater();
        m_busy = false;
        addingDone(*job, cancelled);
    });
    thread->start();
}

void SourcesCommands::startAdding(const std::shared_ptr<AddJob>& job, QProgressDialog* bar, QObject* worker,
                                  QThread* thread)
{
    auto* library = new sources::Library(job->libraryPath);
    auto* adding = new sources::SourceAdding(*library, job->files, {}, worker);
    if (!library->open()) {
        job->unopened = true;
        job->failures = {library->error()};
    }
    job->notice = library->takeNotice();
    connect(adding, &sources::SourceAdding::progress, bar, [bar](int done, int total) {
        bar->setLabelText(QStringLiteral("正在读取来源：第 %1 / %2 个文件").arg(done + 1).arg(total));
        bar->setValue(done);
    });
    connect(adding, &sources::SourceAdding::fileDone, bar, [job](const sources::AddedFile& f) {
        using O = sources::AddedFile::Outcome;
        ++job->counts[f.outcome == O::Read ? 0 : f.outcome == O::Failed ? 2 : 1];
        if (f.outcome == O::Failed)
            job->failures.append(QDir::toNativeSeparators(f.path) + QStringLiteral("：") + f.reason);
    });
    connect(bar, &QProgressDialog::canceled, adding, &sources::SourceAdding::cancel);
    connect(adding, &sources::SourceAdding::finished, worker, [library, thread](bool) {
        delete library; // its connection closes in the thread that opened it
        thread->quit();
    });
    connect(adding, &sources::SourceAdding::finished, bar,
            [bar](bool cancelled) { bar->setProperty("cancelled", cancelled); });
    if (job->unopened) {
        QMetaObject::invokeMethod(
            adding, [adding] { adding->cancel(); }, Qt::QueuedConnection);
        return;
    }
    adding->start();
}

void SourcesCommands::addingDone(const AddJob& job, bool cancelled)
{
    if (!job.notice.isEmpty())
        tell(job.notice);
    if (job.unopened) {
        tell(job.failures.join(u'\n'), true);
        emit addingFinished();
        return;
    }
    QString text = QStringLiteral("已读取 %1 个文件，跳过 %2 个（来源库中已有），%3 个无法读取。")
                       .arg(job.counts[0])
                       .arg(job.counts[1])
                       .arg(job.counts[2]);
    if (cancelled)
        text = QStringLiteral("已取消。") + text;
    if (!job.failures.isEmpty())
        text += u'\n' + job.failures.mid(0, 20).join(u'\n');
    tell(text, !job.failures.isEmpty());
    emit addingFinished();
}

void SourcesCommands::manage()
{
    QDialog dialog(&m_form);
    dialog.setObjectName(QStringLiteral("guanlilaiyuanDialog"));
    dialog.setWindowTitle(QStringLiteral("管理来源库"));
    keyboardroute::closeWithEscape(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("sourceList"));
    auto fill = [this, list] {
        list->clear();
        for (const sources::LibraryEntry& e : m_library.entries()) {
            for (const QString& path : e.paths) {
                const QFileInfo file(path);
                const QString state = !file.exists() ? QStringLiteral("文件已不存在")
                                      : file.size() != e.size ? QStringLiteral("文件已改变，重新添加可更新")
                                                              : QStringLiteral("可用");
                auto* item = new QListWidgetItem(QStringLiteral("%1　%2　%3 字　%4 KB　%5")
                                                     .arg(e.title, QDir::toNativeSeparators(path))
                                                     .arg(e.chars)
                                                     .arg((e.size + 1023) / 1024)
                                                     .arg(state),
                                                 list);
                item->setData(Qt::UserRole, path);
            }
        }
    };
    fill();
    auto* remove = new QPushButton(QStringLiteral("移除"), &dialog);
    remove->setObjectName(QStringLiteral("yichu"));
    connect(remove, &QPushButton::clicked, &dialog, [this, list, fill] {
        for (QListWidgetItem* item : list->selectedItems())
            m_library.remove(item->data(Qt::UserRole).toString());
        fill();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    auto* row = new QHBoxLayout;
    row->addWidget(remove);
    row->addStretch();
    row->addWidget(buttons);
    layout->addLayout(row);
    dialog.resize(760, 420);
    dialog.exec();
}

void SourcesCommands::runCheck()
{
    if (m_busy)
        return;
    m_busy = true;
    auto job = std::make_shared<CheckJob>();
    job->libraryPath = m_library.filePath();
    job->article = m_editor.text();
    job->textVersion = m_editor.textVersion();
    job->run = minimumRun();
    auto* bar = new QProgressDialog(QStringLiteral("正在本地比对……"), QStringLiteral("取消"), 0, 0, &m_form);
    bar->setWindowTitle(QStringLiteral("本地比对"));
    bar->setMinimumDuration(kProgressDelayMs);
    connect(bar, &QProgressDialog::canceled, this, [job] { job->cancel = true; });
    QThread* thread = QThread::create([job] {
        // A connection of this thread's own: Qt SQL connections belong to the thread that made them.
        sources::Library library(job->libraryPath);
        if (!QFileInfo::exists(job->libraryPath)) {
            job->error = QStringLiteral("来源库是空的。请先用“添加来源文件…”或“添加来源文件夹…”添加来源。");
            return;
        }
        sources::SourceIndex index;
        if (!library.open() || !library.loadIndex(index)) {
            job->error = library.error();
            return;
        }
        job->notice = library.takeNotice();
        QHash<qint64, QString> texts;
        const sources::SourceTexts textOf = [&library, &texts](qint64 id) {
            auto it = texts.find(id);
            return it != texts.end() ? *it : *texts.insert(id, library.text(id));
        };
        job->report.result = sources::check(job->article, index, textOf, {job->run}, &job->cancel);
        for (const sources::LibraryEntry& e : library.entries()) {
            job->report.titles.insert(e.id, e.title);
            job->report.paths.insert(e.id, e.paths.value(0));
        }
        for (const sources::SourceFigure& f : job->report.result.sources)
            job->sourceTexts.insert(f.source, texts.value(f.source));
        job->report.madeAt = QDateTime::currentDateTime();
    });
    connect(thread, &QThread::finished, this, [this, thread, bar, job] {
        thread->deleteLater();
        bar->deleteLater();
        m_busy = false;
        checkDone(job);
        emit checkFinished();
    });
    thread->start();
}

void SourcesCommands::checkDone(const std::shared_ptr<CheckJob>& job)
{
    if (!job->notice.isEmpty())
        tell(job->notice);
    if (!job->error.isEmpty()) {
        tell(job->error, true);
        return;
    }
    if (job->report.result.cancelled)
        return;
    if (m_editor.textVersion() != job->textVersion) {
        tell(QStringLiteral("比对期间文章已改动，标注没有进行。请再次本地比对。"));
        return;
    }
    m_editor.colourText(0, job->article.size(), marks::kBlack);
    for (const sources::Passage& p : job->report.result.passages)
        m_editor.colourText(p.start, p.end - p.start, p.cited ? marks::kCited : marks::kCopied);
    m_last = job->report;
    if (m_window)
        m_window->close();
    m_window = new LocalCheckWindow(job->report, job->sourceTexts, job->article, &m_form);
    m_window->show();
}
