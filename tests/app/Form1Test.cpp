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

#include <map>
#include <set>

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
    EXPECT_EQ(titles, (QStringList{"文件", "编辑", "引擎选择", "选项", "来源库", "对比器", "检测结果",
                                   "获取更新", "帮助"}));

    auto captions = [](const QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    EXPECT_EQ(captions(w<QMenu>("wjcd")),
              (QStringList{"新建", "打开", "保存", "导出检测报告…", "清除检测记录…", "-", "退出"}));
    EXPECT_EQ(captions(w<QMenu>("yjcd")), (QStringList{"撤销", "-", "剪切", "复制", "粘贴", "删除", "-",
                                                       "全选", "-", "按相似度标色", "清除标色"}));
    EXPECT_EQ(captions(w<QMenu>("yinqing")), (QStringList{"百度引擎", "百度文库", "龙源期刊", "中国知网"}));
    EXPECT_EQ(captions(w<QMenu>("xuanxiang")), (QStringList{"按句子切分", "本地比对的最短重复字数"}));
    EXPECT_EQ(captions(w<QMenu>("laiyuan")),
              (QStringList{"添加来源文件…", "添加来源文件夹…", "管理来源库…", "-", "本地比对"}));
    EXPECT_EQ(captions(w<QMenu>("bangzhu")), (QStringList{"使用说明", "检测记录保存在哪里", "关于 Tessaro"}));
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

// The layout's rules at several window sizes rather than its formulas: the editor and the buttons never
// overlap; the buttons keep to the bottom, the right-hand ones to the right edge, with the status line
// above them; before an analysis the editor takes the width down to the right margin (where the pane
// and Command6 end) and the height down to the status line, after one (at the next resize) it keeps one
// height, the sentence list's column beside it.
TEST_F(Form1Test, LayoutRulesHoldAtEverySize)
{
    const QList<QSize> sizes{{720, 560}, {900, 700}, {1280, 960}};
    const auto rect = [&](const char* name) { return w<QWidget>(name)->geometry(); };
    // Each rule's measure per size; a rule holds when its measure is the same at every size.
    std::map<std::string, std::set<int>> measures;
    const auto layOut = [&](QSize size) {
        form->resize(size);
        pumpEvents(20);
        const QRect client = form->centralWidget()->rect();
        const QRect editor = rect("RichTextBox1");
        const auto controls = {"RichTextBox1", "Command1", "Command2", "Command3", "Command5", "Command6"};
        for (auto a = controls.begin(); a != controls.end(); ++a)
            for (auto b = a + 1; b != controls.end(); ++b)
                EXPECT_FALSE(rect(*a).intersects(rect(*b))) << *a << " and " << *b << " at " << size.width();
        for (const char* b : {"Command1", "Command2", "Command3"})
            measures[std::string("row of ") + b].insert(client.bottom() - rect(b).y());
        for (const char* c : {"Command3", "Command6", "List1"})
            measures[std::string("right of ") + c].insert(client.right() - rect(c).x());
        measures["pane to bottom"].insert(client.bottom() - rect("WebBrowser1").bottom());
        measures["pane right margin"].insert(client.right() - rect("WebBrowser1").right());
        measures["List1 width"].insert(rect("List1").width());
        measures["Command1 left"].insert(rect("Command1").x());
        measures["editor right margin"].insert(client.right() - editor.right());
        measures["editor to status line"].insert(rect("Label1").y() - editor.bottom());
        EXPECT_LE(rect("Command6").right(), client.right());
        EXPECT_LT(editor.bottom(), rect("Label1").y());
        EXPECT_LT(rect("Label1").y(), rect("Command1").y());
        EXPECT_EQ(rect("Label2").y(), rect("Label1").y());
        EXPECT_EQ(rect("Command5").x(), rect("Command3").x());
        EXPECT_EQ(rect("Command5").y(), rect("Command6").y());
        return editor;
    };
    const auto expectEachRuleHolds = [&] {
        for (const auto& [rule, values] : measures)
            EXPECT_EQ(values.size(), 1u) << rule;
        measures.clear();
    };
    for (const QSize size : sizes) {
        const QRect editor = layOut(size);
        EXPECT_EQ(editor.right(), rect("WebBrowser1").right()); // the pane lies under the editor
        EXPECT_EQ(editor.right(), rect("Command6").right());
    }
    expectEachRuleHolds();

    const int fullWidth = rect("RichTextBox1").width();
    analyse(QStringLiteral("一段文字"));
    EXPECT_EQ(rect("RichTextBox1").width(), fullWidth); // an analysis alone does not lay out again
    for (const QSize size : sizes) {
        const QRect editor = layOut(size);
        measures["compact editor height"].insert(editor.height());
        EXPECT_LE(std::abs(rect("List1").x() - editor.right()), 1) << "the list's column beside the editor";
    }
    measures.erase("editor to status line");
    expectEachRuleHolds();
    EXPECT_LT(rect("RichTextBox1").width(), fullWidth);
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

// 退出 asks before it opens the project's page and closes; 获取更新 opens it and the program goes on.
// A page that cannot be opened is reported.
struct ProjectPageRow
{
    const char* name;
    const char* item;
    MessageBox::Answer answer;
    bool shellOpens;
    int opened;
    QStringList boxes;
    bool staysOpen;
};

class ProjectPage : public Form1Fixture, public ::testing::WithParamInterface<ProjectPageRow>
{
};

TEST_P(ProjectPage, OpensAsAskedAndSaysWhenItCannot)
{
    const ProjectPageRow& row = GetParam();
    MessageBoxRecorder boxes(row.answer);
    QList<QUrl> opened;
    Shell::setHandler([&](const QUrl& u) { return opened.append(u), row.shellOpens; });
    w<QAction>(row.item)->trigger();
    Shell::setHandler({});
    EXPECT_EQ(opened,
              QList<QUrl>(row.opened,
                          QUrl(QStringLiteral("http://tessaro.example/ziyuan/post/2014/04/04/11.aspx"))));
    QStringList texts;
    for (const auto& box : boxes.shown)
        texts << box.text;
    EXPECT_EQ(texts, row.boxes);
    if (!boxes.shown.isEmpty()) // the question
        EXPECT_EQ(boxes.shown[0].buttons, MessageBox::Buttons::YesNo);
    if (boxes.shown.size() == 2) {
        EXPECT_EQ(boxes.shown[1].title, QStringLiteral("错误："));
        EXPECT_EQ(boxes.shown[1].icon, MessageBox::Icon::Error);
    }
    EXPECT_EQ(form->isVisible(), row.staysOpen);
}

const QString kExitQuestion = QStringLiteral("谢谢使用！访问我的网站吗？");
INSTANTIATE_TEST_SUITE_P(
    Form1Test, ProjectPage,
    ::testing::Values(
        ProjectPageRow{"ExitAnsweredNo", "tuichu", MessageBox::Answer::No, true, 0, {kExitQuestion}, false},
        ProjectPageRow{"ExitAnsweredYesFailing",
                       "tuichu",
                       MessageBox::Answer::Yes,
                       false,
                       1,
                       {kExitQuestion, QStringLiteral("调用浏览器错误！")},
                       false},
        ProjectPageRow{"GetUpdate", "gengxin", MessageBox::Answer::Yes, true, 1, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

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
