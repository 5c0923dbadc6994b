#include "app/HelpWindows.h"

#include "app/Form1.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "store/ResultStore.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace help {

namespace {

const QString kProgramLicence = QStringLiteral("GNU 通用公共许可证第 3 版或更高版本（GPL-3.0-or-later）");

// The window of that name when it is open, else a new one: a dialog without modality, gone when closed.
QDialog* window(QWidget* parent, const char* name, const QString& title, bool& created)
{
    if (auto* open = parent->findChild<QDialog*>(QLatin1String(name))) {
        created = false;
        return open;
    }
    created = true;
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QLatin1String(name));
    dialog->setWindowTitle(title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    return dialog;
}

QWidget* present(QDialog* dialog)
{
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void addCloseButton(QDialog* dialog, QVBoxLayout* layout, QPushButton* extra = nullptr)
{
    auto* buttons = new QDialogButtonBox(dialog);
    if (extra)
        buttons->addButton(extra, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

QString storeFile(const QString& storeDirectory)
{
    return QDir::toNativeSeparators(QDir(storeDirectory).filePath(store::ResultStore::fileName()));
}

QString dataPlacesText(const DataPlaces& places)
{
    const QString& storeDirectory = places.storeDirectory;
    const QString settings = QDir::toNativeSeparators(QSettings().fileName());
    const QString kept =
        storeDirectory.isEmpty()
            ? QStringLiteral("这次运行不保存检测结果。")
            : QStringLiteral("检测结果保存在：%1（保存 30 天，“文件”→“清除检测记录…”可以删除）。")
                  .arg(storeFile(storeDirectory));
    return kept +
           QStringLiteral("\n\n来源库（本地比对用的来源）保存在：%1。")
               .arg(QDir::toNativeSeparators(places.sourcesLibrary)) +
           QStringLiteral("\n\n设置（窗口的位置和大小、“按句子切分”等选项）保存在：%1。").arg(settings);
}

} // namespace

QString usageText()
{
    QFile file(QStringLiteral(":/help/usage.md"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QWidget* showUsage(QWidget* parent)
{
    bool created = false;
    QDialog* dialog = window(parent, "UsageWindow", QStringLiteral("使用说明"), created);
    if (created) {
        auto* layout = new QVBoxLayout(dialog);
        auto* text = new QTextBrowser(dialog);
        text->setObjectName(QStringLiteral("UsageText"));
        text->setOpenExternalLinks(false);
        text->setMarkdown(usageText());
        layout->addWidget(text);
        addCloseButton(dialog, layout);
        const QFontMetrics metrics(text->font());
        dialog->resize(metrics.averageCharWidth() * 90, metrics.lineSpacing() * 34);
    }
    return present(dialog);
}

QWidget* showDataPlaces(QWidget* parent, const DataPlaces& places)
{
    const QString storeDirectory = places.storeDirectory;
    bool created = false;
    QDialog* dialog = window(parent, "DataPlacesWindow", QStringLiteral("检测记录保存在哪里"), created);
    if (created) {
        auto* layout = new QVBoxLayout(dialog);
        auto* text = new QLabel(dataPlacesText(places), dialog);
        text->setObjectName(QStringLiteral("DataPlacesText"));
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(text);
        auto* open = new QPushButton(QStringLiteral("打开文件夹"), dialog);
        open->setObjectName(QStringLiteral("openFolder"));
        open->setEnabled(!storeDirectory.isEmpty());
        QObject::connect(open, &QPushButton::clicked, dialog, [dialog, storeDirectory] {
            QDir().mkpath(storeDirectory); // before the first result there is no folder yet
            if (!Shell::openInDefaultBrowser(QUrl::fromLocalFile(storeDirectory)))
                MessageBox::show(
                    dialog,
                    {QStringLiteral("无法打开文件夹“%1”。").arg(QDir::toNativeSeparators(storeDirectory)),
                     QString(), MessageBox::Icon::Error, MessageBox::Buttons::Ok});
        });
        addCloseButton(dialog, layout, open);
        dialog->resize(dialog->fontMetrics().averageCharWidth() * 70, dialog->sizeHint().height());
    }
    return present(dialog);
}

QWidget* showAbout(QWidget* parent, const DataPlaces& places)
{
    bool created = false;
    QDialog* dialog = window(parent, "AboutWindow", QStringLiteral("关于 Tessaro"), created);
    if (created) {
        auto* layout = new QVBoxLayout(dialog);
        auto* text = new QTextBrowser(dialog);
        text->setObjectName(QStringLiteral("AboutText"));
        text->setOpenLinks(false);
        const QString html =
            QStringLiteral(
                "<h3>%1</h3><p>论文相似度估计工具：逐句检索公共搜索服务，估计论文有多少内容已能在网上找到；"
                "对比器在本机对比论文和参考文本，本地比对在本机对比论文和来源库中的来源。</p>"
                "<p><b>许可：</b>%2</p>"
                "<p><b>使用的库和程序：</b></p><ul>"
                "<li>Qt %3（界面、SQLite 数据库访问）：LGPL-3.0</li>"
                "<li>Qt WebEngine 与 Chromium（结果窗口）：LGPL-3.0；Chromium 为 BSD-3-Clause 等</li>"
                "<li>ICU（编码与字符宽度）：Unicode 许可证</li>"
                "<li>libzip（读取 .docx、.odt）：BSD-3-Clause</li>"
                "<li>Poppler（读取 PDF）：GPL-2.0-or-later</li>"
                "<li>SQLite（保存检测结果）：公有领域</li>"
                "<li>LibreOffice（作为独立程序读取 .doc、.wps）：MPL-2.0</li>"
                "<li>Noto CJK 字体：SIL OFL-1.1</li></ul>"
                "<p><b>数据保存在哪里：</b>%4</p>"
                "<p><b>不上传任何东西：</b>程序不向作者或任何服务器上传你的论文、检测结果或设置。"
                "只有检索的句子会像在浏览器中搜索一样发送给你选定的搜索服务；对比器、来源库、本地比对、打开和"
                "保存文件都只在本机"
                "进行。</p>")
                .arg(Form1::programName(), kProgramLicence, QString::fromLatin1(qVersion()),
                     dataPlacesText(places).toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")));
        text->setHtml(html);
        layout->addWidget(text);
        addCloseButton(dialog, layout);
        const QFontMetrics metrics(text->font());
        dialog->resize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 30);
    }
    return present(dialog);
}

} // namespace help
