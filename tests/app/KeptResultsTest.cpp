// Results kept between starts, as the person sees them: the option of cutting by sentence, the resume
// question, forgetting, and a damaged store.
#include "report/Bands.h"
#include "store/ResultStore.h"
#include "support/Form1Fixture.h"
#include "support/QtPrinters.h"
#include "support/ResultPage.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class KeptResultsTest : public Form1Fixture
{
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().remove(QStringLiteral("analysis/bySentence"));
        ASSERT_TRUE(dir.isValid());
    }
    // A start over the same folder of kept results.
    void start()
    {
        Program::Options options;
        options.storeDirectory = dir.path();
        Form1Fixture::start(std::move(options));
        browser->finish(QString()); // the blank start page
        browser->navigations.clear();
    }
    void TearDown() override { form.reset(); } // before the folder goes

    QTemporaryDir dir;
};

// A damaged store is set aside with one message, the check is kept in a new one, and the next start
// resumes from it without a search until the results are cleared.
TEST_F(KeptResultsTest, ASecondStartResumesWithoutSearchingAndForgetsWhenCleared)
{
    QFile damaged(dir.path() + u'/' + store::ResultStore::fileName());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    const QString article = QString(38, u'甲') + QString(38, u'乙');
    MessageBoxRecorder boxes(MessageBox::Answer::Yes);
    start();
    analyse(article);
    ASSERT_TRUE(waitUntil([&] { return !boxes.shown.isEmpty(); }));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("无法读取")));
    boxes.shown.clear();
    click("Command2");
    browser->finish(resultPage(190)); // 50%
    click("Command2");
    browser->finish(resultPage(0));
    ASSERT_EQ(browser->navigations.size(), 2);
    QCoreApplication::processEvents(); // a notice of the keeping would be queued
    EXPECT_TRUE(boxes.shown.isEmpty());

    start(); // the program closed and started again
    analyse(article);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text,
              QStringLiteral("这篇文章中有 2 句在 %1 检测过。沿用这些结果，只检测其余的句子吗？")
                  .arg(QDate::currentDate().toString(Qt::ISODate)));
    EXPECT_EQ(boxes.shown[0].buttons, MessageBox::Buttons::ReuseRedo);
    EXPECT_EQ(w<QListWidget>("List1")->item(0)->background().color(),
              QColor(QRgb(*report::bandStyle(report::Band::High).colour)));
    EXPECT_TRUE(w<QLabel>("Label2")->text().endsWith(QStringLiteral("目前总体相似度：25%")));

    click("Command3");
    ASSERT_TRUE(waitUntil([&] { return boxes.shown.size() == 2; }));
    EXPECT_EQ(boxes.shown[1].text, QStringLiteral("本次对比结束！"));
    EXPECT_TRUE(browser->navigations.isEmpty());

    w<QAction>("qingchu")->trigger();
    ASSERT_EQ(boxes.shown.size(), 3);
    EXPECT_EQ(boxes.shown[2].text,
              QStringLiteral("确定要清除保存的全部检测结果吗？共 2 句的结果，清除后不能恢复。"));
    EXPECT_EQ(boxes.shown[2].defaultAnswer, MessageBox::Answer::No);
    EXPECT_EQ(w<QLabel>("Label1")->text(), QStringLiteral("已清除保存的 2 句检测结果。"));
    start();
    analyse(article);
    EXPECT_EQ(boxes.shown.size(), 3); // nothing left to offer
}

TEST_F(KeptResultsTest, CuttingBySentenceIsAnOptionKeptBetweenStarts)
{
    start();
    QAction* option = w<QAction>("anjuqiefen");
    EXPECT_FALSE(option->isChecked());
    option->trigger();
    analyse(
        QStringLiteral("这是正文的第一句话。短句。\r\n参考文献\r\n[1] 作者. 书名[M]. 北京: 出版社, 2010."));
    QListWidget* list = w<QListWidget>("List1");
    ASSERT_EQ(list->count(), 4);
    // Each entry's tool tip ends with its state; the pieces never searched say why.
    EXPECT_TRUE(list->item(0)->toolTip().endsWith(QStringLiteral("状态：尚未检索")));
    EXPECT_TRUE(list->item(1)->toolTip().endsWith(QStringLiteral("状态：过短")));
    EXPECT_TRUE(list->item(3)->toolTip().endsWith(QStringLiteral("状态：参考文献")));
    EXPECT_TRUE(w<QLabel>("Label1")->text().contains(QStringLiteral("分析出 4 句")));

    start();
    EXPECT_TRUE(w<QAction>("anjuqiefen")->isChecked());
    w<QAction>("anjuqiefen")->trigger();
}

} // namespace
