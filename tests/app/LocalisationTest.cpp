// What main.cpp sets up before the first window: Qt's own texts and the browser pane in Simplified
// Chinese whatever the system language, the pane's profile and the program's icon. The test runs once
// under an English and once under a Chinese system locale (tests/app/CMakeLists.txt).
#include "app/Localisation.h"
#include "app/Program.h"
#include "app/ProgramIcon.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"
#include "support/StandInServer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

quint16 g_port = 0;
QStringList g_loaded;

// "是(&Y)" -> "是", "撤消(&U)\tCtrl+Z" -> "撤消": the caption without mnemonic and shortcut.
QString caption(QString text)
{
    text = text.section(u'\t', 0, 0);
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    return text.remove(u'&').trimmed();
}

QStringList captions(const QList<QAbstractButton*>& buttons)
{
    QStringList out;
    for (const QAbstractButton* b : buttons)
        out.append(caption(b->text()));
    return out;
}

QStringList captions(const QList<QAction*>& actions)
{
    QStringList out;
    for (const QAction* a : actions) {
        if (!a->isSeparator())
            out.append(caption(a->text()));
    }
    return out;
}

// Runs inspect on the modal dialog of type T once it is shown, then closes it with close.
template <typename T> void whenShown(std::function<void(T*)> inspect, std::function<void(T*)> close)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect, close] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        inspect(dialog);
        close(dialog);
    });
    timer->start();
}

TEST(Localisation, StartsAsMainDoesUnderTheSystemLocaleOfTheRun)
{
    EXPECT_EQ(g_loaded, localisation::qtCatalogues());
    // The premise of the run: without it an English run would prove nothing.
    const QString lang = qEnvironmentVariable("LC_ALL").left(5);
    ASSERT_FALSE(lang.isEmpty());
    EXPECT_EQ(QLocale::system().name(), lang);
    EXPECT_EQ(QLocale().name(), QStringLiteral("zh_CN"));
    // Chromium is started with the language after the flags set before it.
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    EXPECT_TRUE(flags.contains("--proxy-server=http://127.0.0.1:")) << flags.toStdString();
    EXPECT_TRUE(flags.endsWith(" --lang=zh-CN")) << flags.toStdString();
}

struct BoxRow
{
    MessageBox::Buttons buttons;
    QStringList captions;
    MessageBox::Answer answerOfFirst;
};

using MessageBoxButtons = ::testing::TestWithParam<BoxRow>;

TEST_P(MessageBoxButtons, AreChinese)
{
    QStringList seen;
    whenShown<QMessageBox>([&](QMessageBox* box) { seen = captions(box->buttons()); },
                           [](QMessageBox* box) { box->buttons().constFirst()->click(); });
    const MessageBox::Answer answer = MessageBox::show(
        nullptr, {QStringLiteral("谢谢使用！"), QString(), MessageBox::Icon::Question, GetParam().buttons});
    seen.sort();
    QStringList expected = GetParam().captions;
    expected.sort();
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(answer, GetParam().answerOfFirst);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxButtons,
    ::testing::Values(BoxRow{MessageBox::Buttons::YesNo, {"是", "否"}, MessageBox::Answer::Yes},
                      BoxRow{MessageBox::Buttons::Ok, {"确定"}, MessageBox::Answer::Ok}));

using FileDialogs = ::testing::TestWithParam<std::pair<FileDialog::Mode, QString>>;

TEST_P(FileDialogs, AreChinese)
{
    QStringList buttons;
    QString fileLabel;
    whenShown<QFileDialog>(
        [&](QFileDialog* dialog) {
            buttons = captions(dialog->findChild<QDialogButtonBox*>()->buttons());
            fileLabel = dialog->labelText(QFileDialog::FileName);
        },
        [](QFileDialog* dialog) { dialog->reject(); });
    const auto chosen = FileDialog::show(
        nullptr, {GetParam().first, QStringLiteral("打开"), {QStringLiteral("文本 (*.txt)")}});
    EXPECT_FALSE(chosen.has_value());
    EXPECT_TRUE(buttons.contains(GetParam().second)) << buttons.join(u' ').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("取消"))) << buttons.join(u' ').toStdString();
    EXPECT_TRUE(fileLabel.startsWith(QStringLiteral("文件名"))) << fileLabel.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Modes, FileDialogs,
                         ::testing::Values(std::pair{FileDialog::Mode::Open, QStringLiteral("打开")},
                                           std::pair{FileDialog::Mode::Save, QStringLiteral("保存")}));

TEST(Localisation, EditorAndPaneContextMenusAreChinese)
{
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("中文"));
    editor.selectAll();
    std::unique_ptr<QMenu> menu(editor.createStandardContextMenu());
    const QStringList items = captions(menu->actions());
    for (const char* item : {"撤消", "重做", "剪切", "复制", "粘贴", "删除", "全选"})
        EXPECT_TRUE(items.contains(QString::fromUtf8(item)))
            << item << " not in " << items.join(u' ').toStdString();
    QWebEngineView view;
    QWebEnginePage* page = view.page();
    EXPECT_EQ(caption(page->action(QWebEnginePage::Back)->text()), QStringLiteral("后退"));
    EXPECT_EQ(caption(page->action(QWebEnginePage::Copy)->text()), QStringLiteral("复制"));
    EXPECT_EQ(caption(page->action(QWebEnginePage::Reload)->text()), QStringLiteral("重新加载"));
}

class Pane : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(server.listen(g_port)); }

    // Loads url in a fresh pane and returns the text it then shows.
    QString load(const QString& url)
    {
        QWebEngineView view;
        view.resize(800, 600);
        view.show();
        bool finished = false;
        QObject::connect(view.page(), &QWebEnginePage::loadFinished, [&] { finished = true; });
        view.load(QUrl(url));
        EXPECT_TRUE(waitUntil([&] { return finished; }, 20000));
        QString text;
        bool read = false;
        // The error page is put in place after the failed load has finished: wait for its text.
        waitUntil(
            [&] {
                read = false;
                view.page()->toPlainText([&](const QString& t) {
                    text = t;
                    read = true;
                });
                waitUntil([&] { return read; }, 5000);
                return !text.isEmpty();
            },
            10000);
        return text;
    }

    StandInServer server;
};

TEST_F(Pane, AsksTheServicesForChinesePages)
{
    server.setHandler([](const QUrl&) {
        return StandInServer::Response{200, "<html><body>页</body></html>"};
    });
    load(QStringLiteral("http://www.baidu.com/s?wd=%D6%D0"));
    ASSERT_FALSE(server.requestHeads.isEmpty());
    const QList<QByteArray> lines = server.requestHeads.constFirst().split('\n');
    EXPECT_TRUE(lines.contains("Accept-Language: zh-CN,zh;q=0.9\r") ||
                lines.constLast() == "Accept-Language: zh-CN,zh;q=0.9")
        << server.requestHeads.constFirst().toStdString();
}

TEST_F(Pane, ShowsChromiumsErrorPageInChinese)
{
    server.setHandler([](const QUrl&) {
        StandInServer::Response r;
        r.closeWithoutAnswer = true;
        return r;
    });
    const QString text = load(QStringLiteral("http://www.baidu.com/s?wd=%D6%D0"));
    // Chromium's own page for a server that sent nothing, in Chinese.
    EXPECT_TRUE(text.contains(QStringLiteral("ERR_EMPTY_RESPONSE"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("该网页无法正常运作"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("未发送任何数据"))) << text.toStdString();
}

TEST(ProgramIcon, HasTheDesktopSizesBuiltIn)
{
    // The icons are a resource of a static library: a link that drops it leaves the windows without.
    const QList<QSize> sizes = programIcon().availableSizes();
    for (int n : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(n, n))) << n;
}

TEST(PaneProfile, KeepsNothingOnDisk)
{
    // The main window's panes work in a profile that the README promises stores nothing: no
    // cookies, cache or history outlive the program.
    const std::unique_ptr<Form1> form = Program::makeMainWindow();
    for (const char* name : {"WebBrowser1", "WebBrowser2"}) {
        const QWebEngineProfile* profile = child<QWebEngineView>(form.get(), name)->page()->profile();
        EXPECT_TRUE(profile->isOffTheRecord()) << name;
        EXPECT_EQ(profile->persistentCookiesPolicy(), QWebEngineProfile::NoPersistentCookies) << name;
        EXPECT_EQ(profile->httpCacheType(), QWebEngineProfile::MemoryHttpCache) << name;
    }
}

struct FlagsRow
{
    const char* before;
    const char* after;
};

using ChromiumFlags = ::testing::TestWithParam<FlagsRow>;

TEST_P(ChromiumFlags, KeepWhatIsSetAndAddTheLanguage)
{
    EXPECT_EQ(localisation::withChromiumLanguage(GetParam().before), QByteArray(GetParam().after));
}

INSTANTIATE_TEST_SUITE_P(Rows, ChromiumFlags,
                         ::testing::Values(FlagsRow{"", "--lang=zh-CN"}, FlagsRow{"  ", "--lang=zh-CN"},
                                           FlagsRow{"--no-sandbox", "--no-sandbox --lang=zh-CN"},
                                           FlagsRow{" --no-sandbox --disable-gpu",
                                                    " --no-sandbox --disable-gpu --lang=zh-CN"},
                                           FlagsRow{"--no-sandbox --lang=en-US", "--no-sandbox --lang=en-US"},
                                           FlagsRow{"--language=x", "--language=x --lang=zh-CN"}));

} // namespace

int main(int argc, char** argv)
{
    // Set up as main.cpp does, with the stand-in of the services as the browser's proxy.
    g_port = StandInServer::reservePort();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --disable-gpu --proxy-server=http://127.0.0.1:" +
                QByteArray::number(g_port) + " --proxy-bypass-list=<-loopback>");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    localisation::prepareBrowserLanguage();
    QApplication app(argc, argv);
    g_loaded = localisation::installChinese(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
