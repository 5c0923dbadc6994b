// The online check end to end: the real window and Qt WebEngine against a loopback stand-in of the
// search services, which the browser reaches as its HTTP proxy.
#include "app/Program.h"
#include "editor/RichTextBox.h"
#include "platform/Fonts.h"
#include "platform/WebEngineBrowser.h"
#include "search/CheckRun.h"
#include "search/Engines.h"
#include "support/FileDialogScript.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"
#include "support/ResultPage.h"
#include "support/StandInServer.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

namespace {

quint16 g_port = 0;

// The shared result page as the service sends it, a whole document; the pane reads it back with
// Chromium's lower-case tags.
QByteArray servedPage(int highlighted, const QStringList& titles = {})
{
    return (QStringLiteral("<html><head><title>结果</title></head><body>") + resultPage(highlighted, titles) +
            QStringLiteral("</body></html>"))
        .toUtf8();
}

class EndToEnd : public ::testing::Test
{
protected:
    virtual std::chrono::milliseconds loadTimeout() const { return WebEngineBrowser::kLoadTimeout; }

    void SetUp() override
    {
        ASSERT_TRUE(server.listen(g_port));
        Program::Options options;
        options.tickInterval = std::chrono::milliseconds(100);
        options.reportWait = std::chrono::milliseconds(200);
        options.loadTimeout = loadTimeout();
        form = Program::makeMainWindow(std::move(options));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_TRUE(waitUntil([&] { return !form->resultPane().isBusy(); }, 20000));
    }

    template <typename T> T* w(const char* name) { return child<T>(form.get(), name); }
    void analyse(const QString& text)
    {
        w<RichTextBox>("RichTextBox1")->setPlainText(text);
        QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);
    }
    bool waitForSearches(int n, int ms = 15000)
    {
        return waitUntil([&] { return server.searches().size() >= n; }, ms);
    }
    bool waitForPage() // the pane has loaded and the body has been read
    {
        return waitUntil(
            [&] {
                return !form->resultPane().isBusy() && record().count(search::SentenceState::Searching) == 0;
            },
            15000);
    }
    const search::CheckRecord& record() { return form->findChild<search::CheckRun*>()->record(); }
    QString titleSlot(qsizetype k) { return record().titleSlots().texts.value(k); }
    QString bodyHtml()
    {
        QString body;
        bool done = false;
        form->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"))
            ->page()
            ->runJavaScript(QStringLiteral("document.body ? document.body.innerHTML : ''"),
                            [&](const QVariant& v) {
                                body = v.toString();
                                done = true;
                            });
        waitUntil([&] { return done; }, 10000);
        return body;
    }

    MessageBoxRecorder boxes;
    StandInServer server;
    std::unique_ptr<Form1> form;
};

// A pane that gives up on a load sooner than the program's 30 s, yet late enough for a loaded machine.
class EndToEndShortLoads : public EndToEnd
{
protected:
    std::chrono::milliseconds loadTimeout() const override { return std::chrono::milliseconds(1500); }
};

TEST_F(EndToEndShortLoads, LoadThatNeverEndsCountsAsNotArrived)
{
    int answered = 0;
    server.setHandler([&](const QUrl&) {
        StandInServer::Response r;
        r.neverAnswer = answered++ == 0;
        r.body = servedPage(0);
        return r;
    });
    analyse(QString(20, QChar(u'句')));
    QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
    ASSERT_TRUE(waitForSearches(1));
    EXPECT_TRUE(form->resultPane().isBusy());
    // After the load timeout the pane gives up, and the run searches the sentence again.
    ASSERT_TRUE(waitForSearches(2, 20000));
    EXPECT_EQ(server.searches()[0], server.searches()[1]);
    EXPECT_EQ(w<QLabel>("Label1")->text(), QStringLiteral("网络不给力，正在重新对比第 1 句"));
    ASSERT_TRUE(waitUntil([&] { return !boxes.shown.isEmpty(); }, 15000));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("本次对比结束！"));
    EXPECT_EQ(form->checkRun().pageCount(), 2);
}

TEST_F(EndToEnd, PaneRecoversFromADeadRenderer)
{
    int answered = 0;
    server.setHandler([&](const QUrl&) {
        StandInServer::Response r;
        r.neverAnswer = answered++ == 0;
        r.body = servedPage(0, {"网站"});
        return r;
    });
    analyse(QString(20, QChar(u'句')));
    auto* page = form->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"))->page();
    QSignalSpy died(page, &QWebEnginePage::renderProcessTerminated);
    QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
    ASSERT_TRUE(waitForSearches(1));
    // The renderer dies while the first page loads: that page counts as not arrived, and the pane
    // loads the retry in a new renderer.
    ASSERT_GT(page->renderProcessPid(), 0);
    ::kill(static_cast<pid_t>(page->renderProcessPid()), SIGKILL);
    ASSERT_TRUE(died.wait(10000));
    ASSERT_TRUE(waitForSearches(2));
    ASSERT_TRUE(waitUntil([&] { return !boxes.shown.isEmpty(); }, 20000));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("本次对比结束！"));
    EXPECT_EQ(titleSlot(0), QStringLiteral("网站"));
}

const QByteArray kVerificationPage =
    QByteArray("<html><head><title>百度安全验证</title></head><body><div><p>网络不给力，请稍后重试</p></"
               "div></body></html>");

// A verification on another host (where the search is redirected) can be stopped and searched again;
// one at the search address holds the run until the person solves it.
TEST_F(EndToEnd, TheRunWaitsForAVerificationAndGoesOnOnceSolved)
{
    enum { Redirected, AtTheSearchAddress, Solved } stage = Redirected;
    server.setHandler([&](const QUrl& url) {
        if (url.host() == QStringLiteral("wappass.baidu.com") || stage == AtTheSearchAddress)
            return StandInServer::Response{200, kVerificationPage};
        if (stage == Solved)
            return StandInServer::Response{200, servedPage(20, {"网站"})};
        StandInServer::Response r{302, QByteArray()};
        r.location = "https://wappass.baidu.com/static/captcha/tuxing.html?ak=1&backurl=" +
                     QUrl::toPercentEncoding(url.toString());
        return r;
    });
    analyse(QString(20, QChar(u'句')));
    const auto asked = [&] {
        return waitUntil([&] { return w<QLabel>("Label1")->text() == search::kVerificationRequest; }, 15000);
    };
    QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
    ASSERT_TRUE(asked());
    pumpEvents(400);
    EXPECT_EQ(server.searches().size(), 1);
    QTest::mouseClick(w<QPushButton>("Command4"), Qt::LeftButton);
    EXPECT_EQ(form->checkRun().nextIndex(), 0);
    EXPECT_FALSE(form->checkRun().waitsForPerson());

    stage = AtTheSearchAddress;
    QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
    ASSERT_TRUE(waitForSearches(2));
    EXPECT_EQ(server.searches()[0], server.searches()[1]);
    ASSERT_TRUE(waitUntil([&] { return form->checkRun().waitsForPerson(); }, 15000));
    ASSERT_TRUE(asked());
    // The run neither retries nor goes on (the pane's layout meanwhile: OnlineCheckTest).
    pumpEvents(500); // five ticks
    EXPECT_EQ(server.searches().size(), 2);
    // The person solves it: the service sends the pane back to the search address.
    stage = Solved;
    auto* pane = form->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"));
    pane->load(QUrl(form->checkRun().searchUrl()));
    ASSERT_TRUE(waitUntil([&] { return !boxes.shown.isEmpty(); }, 15000));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("本次对比结束！"));
    EXPECT_EQ(titleSlot(0), QStringLiteral("网站"));
    EXPECT_EQ(w<QLabel>("Label2")->text(), QStringLiteral("本句相似度：10%\r\n\r\n目前总体相似度：10%"));
    EXPECT_GT(pane->y(), w<RichTextBox>("RichTextBox1")->y() + 1); // the editor has its place again
}

TEST_F(EndToEnd, ACheckExportsItsReportAsPdf)
{
    int answered = 0;
    server.setHandler([&](const QUrl&) {
        // The second sentence's page never arrives the first time: the run searches it again.
        StandInServer::Response r;
        r.closeWithoutAnswer = answered++ == 1;
        r.body = servedPage(19, {"网站一", "网站二"});
        return r;
    });
    // Two sentences: the first fills the 38 characters of a piece.
    const QString first =
        QStringLiteral("论文相似度检测的第一句话，用于导出检测报告的测试，内容要写得足够长一些才行。");
    analyse(first + QStringLiteral("第二句<&\"比较短"));
    QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !boxes.shown.isEmpty(); }, 30000));
    ASSERT_EQ(boxes.shown[0].text, QStringLiteral("本次对比结束！"));

    // The second sentence's page was searched again and scored.
    EXPECT_EQ(record().at(1).state, search::SentenceState::Scored);

    QTemporaryDir dir;
    FileDialogScript dialogs;
    const QString pdfPath = dir.filePath(QStringLiteral("报告.pdf"));
    dialogs.choose(pdfPath);
    const qsizetype boxesBefore = boxes.shown.size();
    child<QAction>(form.get(), "daochu")->trigger();
    EXPECT_FALSE(child<QAction>(form.get(), "daochu")->isEnabled()); // one PDF at a time
    ASSERT_TRUE(waitUntil([&] { return boxes.shown.size() > boxesBefore; }, 60000));
    EXPECT_TRUE(boxes.shown.last().text.startsWith(QStringLiteral("检测报告已导出到：")))
        << boxes.shown.last().text.toStdString();
    EXPECT_TRUE(child<QAction>(form.get(), "daochu")->isEnabled());
    QFile pdfFile(pdfPath);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.read(5).startsWith("%PDF"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    QString plain = QString::fromUtf8(text.readAllStandardOutput());
    // The Chinese text is in the PDF as text, with its fonts.
    EXPECT_TRUE(plain.contains(QStringLiteral("论文相似度检测报告")));
    EXPECT_TRUE(plain.remove(QRegularExpression(QStringLiteral("\\s"))).contains(first.left(12)));
}

// The query goes out exactly as the service expects it, and the page is read although it opens
// dialogs of its own.
TEST_F(EndToEnd, SendsTheExactQueryUrlAndKeepsThePagesScriptDialogsQuiet)
{
    server.setHandler([](const QUrl&) {
        QByteArray page = servedPage(10, {"网站"});
        page.replace("<body>", "<body><script>alert('验证'); confirm('继续？'); prompt('输入');</script>");
        return StandInServer::Response{200, page};
    });
    // A dialog of the page's own would be modal and hold up the read of the page: close any at once.
    int dialogs = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget())
            ++dialogs, modal->close();
    });
    closer.start(20);
    analyse(QStringLiteral("中文 A_b"));
    QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
    ASSERT_TRUE(waitForPage());
    EXPECT_EQ(titleSlot(0), QStringLiteral("网站"));
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(
        form->checkRun().searchUrl(),
        QStringLiteral("https://www.baidu.com/s?wd=%D6%D0%CE%C4A%5Fb&rsv_bp=0&ch=&bar=&rsv_spt=3&tn=baidu"));
    // On the wire the escaped underscore goes out as "_": an unreserved character, which URLs treat
    // as the same as its escape.
    EXPECT_TRUE(server.requestTargets.contains(
        QByteArray("https://www.baidu.com/s?wd=%D6%D0%CE%C4A_b&rsv_bp=0&ch=&bar=&rsv_spt=3&tn=baidu")));
}

// The ways a result title can carry script, all on one result page. Each one, if it ran, would load
// an address on evil.example, which reaches the stand-in like every other request. The titles differ
// in their texts, so that the site table keeps a row for each.
struct HostileTitle
{
    const char* name;
    QString block; // the heading's content on the result page
    QString text;  // the title the page's scoring reads
};

QString beacon(const char* name)
{
    return QStringLiteral("new Image().src='http://evil.example/%1'").arg(QLatin1String(name));
}

QString base64Page(const char* name)
{
    const QString html = QStringLiteral("<script>") + beacon(name) + QStringLiteral("</script>");
    return QString::fromLatin1(html.toUtf8().toBase64());
}

QString plainTitle(int n)
{
    return QStringLiteral("<a href=\"http://r.example/%1\" data-click=\"{}\">标题%1</a>").arg(n);
}

// Runs only when its link is clicked.
HostileTitle scriptLink(const char* name, const QString& scheme, int n)
{
    return {name,
            QStringLiteral("<a href=\"") + scheme + beacon(name) +
                QStringLiteral("\" data-click=\"{}\">恶意%1</a>").arg(n),
            QStringLiteral("恶意%1").arg(n)};
}

QList<HostileTitle> hostileTitles()
{
    auto after = [](int n, const QString& rest) {
        return HostileTitle{"", plainTitle(n) + rest, QStringLiteral("标题%1").arg(n)};
    };
    return {
        after(2, QStringLiteral("<script>") + beacon("script") + QStringLiteral("</script>")),
        after(3,
              QStringLiteral("<img src=\"data:,\" onerror=\"") + beacon("onerror") + QStringLiteral("\">")),
        after(4, QStringLiteral("<svg onload=\"") + beacon("svg") + QStringLiteral("\"></svg>")),
        after(5, QStringLiteral("<iframe src=\"&#1;javascript:") + beacon("iframe-js") +
                     QStringLiteral("\"></iframe>")),
        after(6, QStringLiteral("<iframe src=\"data:text/html;base64,") + base64Page("iframe-data") +
                     QStringLiteral("\"></iframe>")),
        after(7, QStringLiteral("<xmp></xm</script>p><scr</script>ipt>") + beacon("xmp") +
                     QStringLiteral("</scr</script>ipt></xmp>")),
        scriptLink("href", QStringLiteral("javascript:"), 8),
        scriptLink("href-ref", QStringLiteral("&#1;javascript:"), 9),
        scriptLink("href-named", QStringLiteral("java&Tab;script&colon;"), 10),
    };
}

TEST_F(EndToEnd, HostileTitlesRunNothingInTheReportOrOnAClick)
{
    // The result page forbids its own scripts and frames, so that only what runs in the report can
    // reach evil.example; the report goes into a clean page of another host.
    server.setHandler([&](const QUrl& url) {
        if (url.host() == u"report.example")
            return StandInServer::Response{200, "<html><body><p>report</p></body></html>"};
        if (url.host() != u"www.baidu.com")
            return StandInServer::Response{404, "<html><body></body></html>"};
        QString page =
            QStringLiteral("<html><head><meta http-equiv=\"Content-Security-Policy\" content=\"script-src "
                           "'none'; frame-src 'none'; object-src 'none'\"></head><body><div>") +
            QString(600, QChar(u'页')) + QStringLiteral("</div><p><EM>x</EM><EM>y</EM></p><H3 CLASS=\"t\">") +
            plainTitle(1) + QStringLiteral("</H3>");
        for (const HostileTitle& t : hostileTitles())
            page += QStringLiteral("<H3 CLASS=\"t\">") + t.block + QStringLiteral("</H3>");
        return StandInServer::Response{200, (page + QStringLiteral("</body></html>")).toUtf8()};
    });
    analyse(QString(20, QChar(u'句')));
    QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
    ASSERT_TRUE(waitForPage());
    const QList<HostileTitle> titles = hostileTitles();
    for (int n = 0; n < titles.size(); ++n)
        ASSERT_EQ(titleSlot(n + 1), titles[n].text) << n;

    auto* page = form->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"))->page();
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    form->resultPane().navigate(QStringLiteral("http://report.example/"));
    ASSERT_TRUE(loaded.wait(15000));
    QTest::mouseClick(w<QPushButton>("Command5"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return bodyHtml().contains(QStringLiteral("出现次数：1")); }, 10000));

    const QString body = bodyHtml();
    // An ordinary title keeps its text, its link and its count.
    EXPECT_TRUE(body.contains(QStringLiteral("<a href=\"http://r.example/1\">标题1</a></td><td width=\"100\" "
                                             "align=\"center\">\u00A0\u00A0出现次数：1<br></td>")) ||
                body.contains(QStringLiteral("<a href=\"http://r.example/1\">标题1</a></td><td width=\"100\" "
                                             "align=\"center\">&nbsp;&nbsp;出现次数：1<br></td>")))
        << body.toStdString();
    // Every link that is not a web address is clicked; then a probe of the test's own, sent after
    // anything the clicks or the report set off, shows that the page has had its turn.
    page->runJavaScript(QStringLiteral(R"JS(
document.querySelectorAll('table a, table area').forEach(function(a) {
  if (!/^https?:$/.test(a.protocol)) a.click();
});
setTimeout(function() { new Image().src = 'http://probe.example/'; }, 500);
)JS"));
    ASSERT_TRUE(waitUntil(
        [&] {
            return std::any_of(server.requests.begin(), server.requests.end(),
                               [](const QUrl& u) { return u.host() == u"probe.example"; });
        },
        10000));
    for (const QUrl& u : server.requests)
        EXPECT_NE(u.host(), QStringLiteral("evil.example")) << u.toString().toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    g_port = StandInServer::reservePort();
    qputenv("QT_QPA_PLATFORM",
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                " --disable-gpu --ignore-certificate-errors --proxy-server=http://127.0.0.1:" +
                QByteArray::number(g_port) + " --proxy-bypass-list=<-loopback>");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    fonts::installSongSubstitution();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
