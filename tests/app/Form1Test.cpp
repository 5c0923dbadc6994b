#include "app/Program.h"
#include "editor/RichTextBox.h"
#include "platform/Shell.h"
#include "support/Form1Fixture.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"
#include "widgets/Twips.h"
#include "widgets/WidgetTwips.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

class Form1Test : public Form1Fixture
{
protected:
    QAction* action(const char* name) { return w<QAction>(name); }
};

TEST_F(Form1Test, StartUpState)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tessaro V2016.7.27"));
    EXPECT_EQ(w<QLabel>("Label1")->text(), QStringLiteral("请点击“分析”开始解析论文！"));
    EXPECT_TRUE(w<QLabel>("Label2")->text().isEmpty());
    EXPECT_FALSE(w<QWebEngineView>("WebBrowser1")->isVisible());
    EXPECT_FALSE(w<QListWidget>("List1")->isVisible());
    EXPECT_FALSE(w<QPushButton>("Command4")->isVisible());
    EXPECT_TRUE(w<QPushButton>("Command3")->isVisible());
    EXPECT_EQ(w<QWebEngineView>("WebBrowser2")->size(), QSize(0, 0));
    EXPECT_EQ(browser->navigations, QStringList{QStringLiteral("about:blank")});

    EXPECT_TRUE(action("baidu")->isChecked());
    EXPECT_FALSE(action("wenku")->isChecked());
    EXPECT_FALSE(action("longyuan")->isChecked());
    EXPECT_FALSE(action("zhiwang")->isChecked());
    EXPECT_FALSE(action("longyuan")->isEnabled());
    EXPECT_FALSE(action("gengxin")->isVisible());
    EXPECT_EQ(form->selectedEngine(), search::Engine::Baidu);

    const search::CheckRun& s = run();
    EXPECT_TRUE(s.firstStepPending());
    EXPECT_FALSE(s.isRunning());
    EXPECT_TRUE(s.articleText().isEmpty());
    EXPECT_TRUE(s.sentences().isEmpty());
}

TEST_F(Form1Test, InstructionTextHasThreeIndentedParagraphsInSongTi)
{
    QTextDocument* doc = w<RichTextBox>("RichTextBox1")->document();
    ASSERT_EQ(doc->blockCount(), 3);
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        EXPECT_TRUE(b.text().startsWith(QStringLiteral("    "))) << b.text().toStdString();
        QTextCursor c(b);
        c.movePosition(QTextCursor::NextCharacter);
        EXPECT_EQ(c.charFormat().font().family(), QStringLiteral("宋体"));
        EXPECT_EQ(c.charFormat().font().pointSize(), 10);
    }
    EXPECT_TRUE(doc->begin().text().contains(QStringLiteral("Tessaro 开发者")));
    EXPECT_TRUE(doc->begin().next().text().contains(
        QStringLiteral("http://tessaro.example/ziyuan/post/2014/04/04/11.aspx")));
}

TEST_F(Form1Test, MenusInOrder)
{
    QStringList titles;
    for (QAction* a : form->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"文件", "编辑", "引擎选择", "选项", "对比器", "检测结果", "获取更新"}));

    auto captions = [](const QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    EXPECT_EQ(captions(w<QMenu>("wjcd")),
              (QStringList{"新建", "打开", "保存", "导出检测报告…", "清除检测记录…", "-", "退出"}));
    EXPECT_EQ(captions(w<QMenu>("yjcd")),
              (QStringList{"撤销", "-", "剪切", "复制", "粘贴", "删除", "-", "全选"}));
    EXPECT_EQ(captions(w<QMenu>("yinqing")), (QStringList{"百度引擎", "百度文库", "龙源期刊", "中国知网"}));
    EXPECT_EQ(captions(w<QMenu>("xuanxiang")), (QStringList{"按句子切分"}));
}

TEST_F(Form1Test, EngineMenuKeepsOneMark)
{
    action("wenku")->trigger();
    EXPECT_EQ(form->selectedEngine(), search::Engine::Wenku);
    action("zhiwang")->trigger();
    action("zhiwang")->trigger(); // clicking the checked item keeps it checked
    EXPECT_TRUE(action("zhiwang")->isChecked());
    EXPECT_FALSE(action("wenku")->isChecked());
    EXPECT_FALSE(action("baidu")->isChecked());
    EXPECT_EQ(form->selectedEngine(), search::Engine::Zhiwang);
    action("baidu")->trigger();
    EXPECT_EQ(form->selectedEngine(), search::Engine::Baidu);
}

// The list, the status line and the caret as the run's analysis leaves them; the cutting and the
// counts are the core's.
TEST_F(Form1Test, AnalysisFillsTheListAndTheStatusLine)
{
    analyse(QStringLiteral("第一句。第二句！"));
    auto* list = w<QListWidget>("List1");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("1-第一句。第二句！"));
    EXPECT_EQ(w<QLabel>("Label1")->text(),
              QStringLiteral("本文共 8 字，本次分析共分析出 1 句，请多次点击进行对比！"));
    EXPECT_FALSE(w<QLabel>("Label2")->isVisible());
    EXPECT_EQ(editor()->textCursor().position(), 0);
    // Analysis neither shows the list nor navigates, and a second one replaces the entries.
    EXPECT_FALSE(list->isVisible());
    click("Command1");
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(browser->navigations.size(), 1);
}

TEST_F(Form1Test, ResizeLayoutBeforeAndAfterAnalysis)
{
    form->resize(900, 700);
    pumpEvents(20);
    QSize outer = twips::outerSize(form.get());
    auto* editor = w<RichTextBox>("RichTextBox1");
    EXPECT_EQ(editor->height(), px(outer.height() - 1890));
    EXPECT_EQ(editor->width(), px(outer.width() - 525));
    EXPECT_EQ(w<QWebEngineView>("WebBrowser1")->height(), px(outer.height() - 2890));
    EXPECT_EQ(w<QLabel>("Label1")->y(), px(outer.height() - 1700));
    EXPECT_EQ(w<QLabel>("Label2")->y(), px(outer.height() - 1700));
    for (const char* b : {"Command1", "Command2", "Command3", "Command4"})
        EXPECT_EQ(w<QPushButton>(b)->y(), px(outer.height() - 1400)) << b;
    EXPECT_EQ(w<QPushButton>("Command5")->y(), px(outer.height() - 1720));
    EXPECT_EQ(w<QPushButton>("Command3")->x(), px(outer.width() - 2500));
    EXPECT_EQ(w<QPushButton>("Command6")->x(), px(outer.width() - 900));
    EXPECT_EQ(w<QListWidget>("List1")->x(), px(outer.width() - 1800));
    EXPECT_EQ(w<QListWidget>("List1")->width(), px(1400));
    // Unlisted positions keep their values.
    EXPECT_EQ(w<QPushButton>("Command1")->x(), px(270));

    analyse(QStringLiteral("一段文字"));
    // Analysis alone does not relayout; the next resize does.
    EXPECT_EQ(editor->width(), px(outer.width() - 525));
    form->resize(1000, 720);
    pumpEvents(20);
    outer = twips::outerSize(form.get());
    EXPECT_EQ(editor->height(), px(2400));
    EXPECT_EQ(editor->width(), px(outer.width() - 1905));
}

// A window made smaller than its layout's margins gives negative sizes: the controls keep theirs.
TEST(WidgetTwips, NegativeSizesLeaveTheWidgetAsItIs)
{
    QWidget widget;
    widget.resize(50, 60);
    EXPECT_FALSE(twips::setHeight(&widget, -1));
    EXPECT_FALSE(twips::setWidth(&widget, -15));
    EXPECT_EQ(widget.size(), QSize(50, 60));
    EXPECT_TRUE(twips::setHeight(&widget, 0));
    EXPECT_EQ(widget.height(), 0);
}

TEST_F(Form1Test, ControlStatesFollowAutoRun)
{
    auto* command5 = w<QPushButton>("Command5");
    // The run model itself starts and stops: the window answers its state changes only.
    auto* checkRun = form->findChild<search::CheckRun*>();
    analyse(QString(38, QChar(u'甲')));
    checkRun->start({false, 1, search::Engine::Baidu});
    EXPECT_FALSE(w<QListWidget>("List1")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("Command1")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("Command2")->isEnabled());
    EXPECT_FALSE(command5->isEnabled());
    EXPECT_TRUE(w<QPushButton>("Command4")->isVisible());
    EXPECT_TRUE(w<QPushButton>("Command3")->isVisible());
    EXPECT_TRUE(command5->isVisible());
    EXPECT_TRUE(w<QPushButton>("Command6")->isVisible());
    EXPECT_TRUE(w<QMenu>("yinqing")->isEnabled());
    EXPECT_TRUE(action("duibiqi")->isEnabled());
    // The stop button covers the start button.
    EXPECT_EQ(w<QPushButton>("Command4")->geometry(), w<QPushButton>("Command3")->geometry());
    const auto siblings = form->centralWidget()->children();
    EXPECT_GT(siblings.indexOf(w<QPushButton>("Command4")), siblings.indexOf(w<QPushButton>("Command3")));

    checkRun->stop();
    EXPECT_TRUE(w<QListWidget>("List1")->isEnabled());
    EXPECT_TRUE(w<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(w<QPushButton>("Command2")->isEnabled());
    EXPECT_FALSE(command5->isEnabled()); // re-enabled by the compare step and the stop button only
    EXPECT_FALSE(w<QPushButton>("Command4")->isVisible());
}

TEST_F(Form1Test, ExitAnsweredNoClosesWithoutBrowser)
{
    MessageBoxRecorder boxes(MessageBox::Answer::No);
    int opened = 0;
    Shell::setHandler([&](const QUrl&) {
        ++opened;
        return true;
    });
    action("tuichu")->trigger();
    Shell::setHandler({});
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("谢谢使用！访问我的网站吗？"));
    EXPECT_EQ(boxes.shown[0].buttons, MessageBox::Buttons::YesNo);
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Form1Test, ExitAnsweredYesOpensProjectPageAndReportsAFailure)
{
    MessageBoxRecorder boxes(MessageBox::Answer::Yes);
    QList<QUrl> opened;
    Shell::setHandler([&](const QUrl& u) {
        opened << u;
        return false;
    });
    action("tuichu")->trigger();
    Shell::setHandler({});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("http://tessaro.example/ziyuan/post/2014/04/04/11.aspx")));
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[1].text, QStringLiteral("调用浏览器错误！"));
    EXPECT_EQ(boxes.shown[1].title, QStringLiteral("错误："));
    EXPECT_EQ(boxes.shown[1].icon, MessageBox::Icon::Error);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Form1Test, GetUpdateKeepsRunning)
{
    MessageBoxRecorder boxes;
    int opened = 0;
    Shell::setHandler([&](const QUrl&) {
        ++opened;
        return true;
    });
    action("gengxin")->trigger();
    Shell::setHandler({});
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Form1Test, ClosingTheMainWindowClosesTheOthers)
{
    QWidget other;
    other.show();
    form->close();
    EXPECT_FALSE(other.isVisible());
}

TEST(Form1RealBrowser, StartsWithTheRealBrowserPane)
{
    const std::unique_ptr<Form1> form = Program::makeMainWindow();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto* pane = form->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"));
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(waitUntil([&] { return !form->resultPane().isBusy(); }, 15000));
    EXPECT_EQ(pane->url(), QUrl(QStringLiteral("about:blank")));
    EXPECT_FALSE(pane->isVisible());
}

} // namespace
