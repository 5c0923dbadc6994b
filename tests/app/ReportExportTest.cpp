// The result of a check in the window: the list's colours and the exported report, with a fake pane.
#include "platform/Shell.h"
#include "report/Bands.h"
#include "report/ReportFile.h"
#include "search/CheckRun.h"
#include "support/FileDialogScript.h"
#include "support/Form1Fixture.h"
#include "support/QtPrinters.h"
#include "support/ResultPage.h"
#include "widgets/SelectionFrameDelegate.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int kSentenceLength = 38;

class ReportExportTest : public Form1Fixture
{
protected:
    void SetUp() override
    {
        Form1Fixture::SetUp();
        browser->finish(QString()); // the blank start page
        Shell::setHandler([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
    }
    void TearDown() override { Shell::setHandler({}); }

    QAction* daochu() { return child<QAction>(form.get(), "daochu"); }
    QListWidget* list() { return w<QListWidget>("List1"); }
    // Five sentences, the first four scored at 60, 30, 5 and 0; the fifth not arrived.
    void runCheck()
    {
        QString text;
        for (const char16_t c : {u'一', u'二', u'三', u'四', u'五'})
            text += QString(kSentenceLength, QChar(c));
        analyse(text);
        ASSERT_EQ(list()->count(), 5);
        const int figures[] = {60, 30, 5, 0};
        for (const int f : figures) {
            click("Command2");
            browser->finish(resultPage(f * kSentenceLength / 10, {QStringLiteral("T%1").arg(f)}));
        }
        click("Command2");
    }
    QString readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    MessageBoxRecorder boxes{MessageBox::Answer::Yes};
    FileDialogScript dialogs;
    QList<QUrl> opened;
    QTemporaryDir dir;
};

TEST_F(ReportExportTest, ListEntriesTakeTheirBandsAndKeepTheirTexts)
{
    runCheck();
    // The fifth sentence's page is on its way: no colour until it comes or fails.
    EXPECT_FALSE(list()->item(4)->data(Qt::BackgroundRole).isValid());
    browser->finish(QString(), false);
    const QList<report::Band> bands{report::Band::High, report::Band::Medium, report::Band::Low,
                                    report::Band::NoneFound, report::Band::Unchecked};
    ASSERT_EQ(list()->count(), bands.size());
    for (int i = 0; i < bands.size(); ++i) {
        const QVariant bg = list()->item(i)->data(Qt::BackgroundRole);
        ASSERT_TRUE(bg.isValid()) << i;
        EXPECT_EQ(bg.value<QBrush>().color().rgb() & 0xffffff, *report::bandStyle(bands[i]).colour) << i;
        EXPECT_TRUE(list()->item(i)->text().startsWith(QString::number(i + 1) + u'-'));
    }
    // A new analysis: no colours.
    analyse(QStringLiteral("另一篇文章。"));
    EXPECT_FALSE(list()->item(0)->data(Qt::BackgroundRole).isValid());
}

TEST_F(ReportExportTest, ColoursStayVisibleUnderTheSelection)
{
    runCheck();
    browser->finish(QString(), false); // the fifth entry's page fails: it turns grey
    list()->setFocus();
    ASSERT_EQ(list()->currentRow(), 4); // the step selected the fifth entry
    const QImage image = list()->viewport()->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("TESSARO_SHOT"))
        image.save(qEnvironmentVariable("TESSARO_SHOT"));
    // The share of the entry's pixels in the colour: most of an entry is background around its text.
    auto share = [&](int row, unsigned rgb) {
        const QRect r = list()->visualItemRect(list()->item(row)).intersected(image.rect());
        int hits = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x)
                hits += (image.pixel(x, y) & 0xffffff) == rgb ? 1 : 0;
        }
        return double(hits) / (r.width() * r.height());
    };
    EXPECT_GT(share(0, *report::bandStyle(report::Band::High).colour), 0.3);
    EXPECT_GT(share(4, *report::bandStyle(report::Band::Unchecked).colour), 0.3); // selected
    const QRect selected = list()->visualItemRect(list()->item(4));
    EXPECT_EQ(image.pixelColor(selected.left(), selected.center().y()),
              list()->palette().color(QPalette::Active, QPalette::Highlight));
}

TEST_F(ReportExportTest, HtmlReportHoldsWhatTheWindowShowed)
{
    runCheck();
    const QString label2 = w<QLabel>("Label2")->text();
    const QList<int> countsBefore = stats().titleCounts();
    const bool pendingBefore = stats().isPending();
    const QString path = dir.filePath(QStringLiteral("报告.html"));
    dialogs.choose(path);
    daochu()->trigger();

    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("导出检测报告"));
    EXPECT_EQ(dialogs.shown[0].filters, (QStringList{"网页文件 (*.html)", "PDF 文件 (*.pdf)"}));
    EXPECT_EQ(dialogs.shown[0].mode, FileDialog::Mode::Save);
    const QString html = readFile(path);
    ASSERT_FALSE(html.isEmpty());
    // The overall figure as Label2 shows it.
    ASSERT_TRUE(label2.contains(QStringLiteral("目前总体相似度：")));
    EXPECT_TRUE(html.contains(label2.mid(label2.lastIndexOf(u'\n') + 1)));
    const QRegularExpression span(QStringLiteral(
        R"x(<span class="s [a-z-]+" data-sentence="(\d+)" data-state="([a-z-]+)" data-similarity="([^"]*)">)x"));
    QStringList seen;
    for (auto it = span.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        seen.append(m.captured(1) + u':' + m.captured(2) + u':' + m.captured(3));
    }
    EXPECT_EQ(seen, (QStringList{"1:scored:60", "2:scored:30", "3:scored:5", "4:scored:0", "5:searching:"}));
    EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"http://r.example/T60\" dir=\"auto\">T60</a>")));
    // Counted on a copy: the check state is as it was, and nothing was pasted into the pane.
    EXPECT_EQ(stats().titleCounts(), countsBefore);
    EXPECT_EQ(stats().isPending(), pendingBefore);
    EXPECT_TRUE(browser->siteTables.isEmpty());
    // Offered to open, and opened.
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("检测报告已导出到：")));
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
}

TEST_F(ReportExportTest, ReportDuringARunSaysSo)
{
    EXPECT_FALSE(daochu()->isEnabled()); // nothing to report before an analysis
    analyse(QString(kSentenceLength, QChar(u'甲')) + QString(10, QChar(u'乙')));
    click("Command3");
    EXPECT_TRUE(daochu()->isEnabled()); // also during a run
    boxes.answerWith(MessageBox::Answer::No);
    dialogs.choose(dir.filePath(QStringLiteral("r")), report::htmlFilter());
    daochu()->trigger();
    const QString html = readFile(dir.filePath(QStringLiteral("r.html")));
    EXPECT_TRUE(html.contains(QStringLiteral("检测仍在进行中")));
    // The record as it stands; how each state is written is the report's own (CheckReportTest).
    EXPECT_TRUE(html.contains(QStringLiteral("data-sentence=\"1\" data-state=\"searching\"")));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(ReportExportTest, FailedWriteSaysWhyAndLeavesNoFile)
{
    analyse(QStringLiteral("一句话。"));
    const QString path = dir.filePath(QStringLiteral("missing/报告.html"));
    dialogs.choose(path);
    daochu()->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].icon, MessageBox::Icon::Error);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("文件夹不存在")));
    EXPECT_FALSE(QFile::exists(path));
    // Cancel writes nothing and asks nothing.
    daochu()->trigger();
    EXPECT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(boxes.shown.size(), 1);
}

TEST_F(ReportExportTest, AnExistingFileIsReplacedOnlyAfterAsking)
{
    analyse(QStringLiteral("一句话。"));
    const QString path = dir.filePath(QStringLiteral("报告.html"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older");
    }
    boxes.answerWith(MessageBox::Answer::No);
    dialogs.choose(path, report::htmlFilter());
    dialogs.cancel(); // 否 goes back to the dialog
    daochu()->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("“报告.html”已存在，要替换它吗？"));
    EXPECT_EQ(boxes.shown[0].buttons, MessageBox::Buttons::YesNo);
    EXPECT_EQ(boxes.shown[0].defaultAnswer, MessageBox::Answer::No);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].fileName, path);
    EXPECT_EQ(readFile(path), QStringLiteral("older"));

    boxes.answerWith(MessageBox::Answer::Yes);
    dialogs.choose(path, report::htmlFilter());
    daochu()->trigger();
    EXPECT_TRUE(readFile(path).startsWith(QStringLiteral("<!DOCTYPE html>")));
}

TEST_F(ReportExportTest, PdfFilterPrintsWithAProgressThatCancels)
{
    runCheck();
    boxes.answerWith(MessageBox::Answer::No);
    dialogs.choose(dir.filePath(QStringLiteral("报告")), report::pdfFilter());
    daochu()->trigger();
    auto* progress = form->findChild<QProgressDialog*>(QStringLiteral("pdfProgress"));
    ASSERT_TRUE(progress);
    EXPECT_FALSE(daochu()->isEnabled()); // one PDF at a time
    auto* cancel = progress->findChild<QPushButton*>();
    ASSERT_TRUE(cancel);
    EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
    cancel->click();
    EXPECT_TRUE(daochu()->isEnabled());
    EXPECT_TRUE(boxes.shown.isEmpty());
    const QString path = dir.filePath(QStringLiteral("报告.pdf"));
    EXPECT_FALSE(QFile::exists(path));

    dialogs.choose(dir.filePath(QStringLiteral("报告.pdf")), report::htmlFilter()); // the typed name wins
    daochu()->trigger();
    ASSERT_TRUE(waitUntil([&] { return !boxes.shown.isEmpty(); }, 30000));
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("检测报告已导出到：")))
        << boxes.shown[0].text.toStdString();
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("报告.pdf")});
}

} // namespace
