// Makes the README's pictures: the program's real windows, set up as main.cpp sets them up, on the
// X display it is started on (scripts/screenshots.sh runs it under Xvfb), with the search services
// replaced by a loopback stand-in that serves made-up result pages. Not a test: it asserts nothing
// and writes PNG files into the folder named on its command line.
#include "app/Localisation.h"
#include "app/Program.h"
#include "app/ProgramIcon.h"
#include "comparator/Form2.h"
#include "editor/RichTextBox.h"
#include "platform/Fonts.h"
#include "search/CheckRun.h"
#include "search/Engines.h"
#include "support/GuiHelpers.h"
#include "support/StandInServer.h"
#include "text/Codepage936.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QUrlQuery>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdio>

namespace {

const QString kArticle = QStringLiteral("翻转课堂是一种新的教学模式。学生在课前通过视频和阅读材料自主学习基础"
                                        "知识，课堂时间则用于讨论、练习和解决问题。"
                                        "近年来，翻转课堂在我国高校的大学英语教学中得到了广泛的应用。本文以某"
                                        "高校两个平行班为研究对象，比较了翻转课堂与"
                                        "传统讲授式教学在学习成绩和学习兴趣方面的差异。研究结果表明，翻转课堂"
                                        "能够显著提高学生的课堂参与度和自主学习能力，"
                                        "但对教师的信息技术水平和课前准备提出了更高的要求。最后，本文就如何在"
                                        "大学英语课程中有效实施翻转课堂提出了几点建议。");

const QString kReference = QStringLiteral("翻转课堂是一种新的教学模式。它起源于美国的中学课堂。近年来，翻转课"
                                          "堂在我国高校的大学英语教学中得到了广泛的应用。"
                                          "许多学校建设了在线课程平台。与传统课堂相比，学生在课前通过视频和阅"
                                          "读材料自主学习基础知识，教师在课堂上组织讨论。"
                                          "实施翻转课堂需要学校在设备、培训和评价制度等方面给予支持。");

const QStringList kTitles = {
    QStringLiteral("大学英语翻转课堂教学模式研究 - 示例文库"),
    QStringLiteral("翻转课堂在高校英语教学中的应用_示例学术网"),
    QStringLiteral("浅谈翻转课堂的优势与不足 - 示例教育论坛"),
    QStringLiteral("信息化背景下的大学英语教学改革 - 示例期刊网"),
    QStringLiteral("翻转课堂教学设计案例 - 示例文库"),
    QStringLiteral("高校教师信息技术能力调查报告_示例学术网"),
};

const QString kFiller =
    QStringLiteral("本文从教学设计、课堂组织和学习评价三个方面讨论了相关问题，并结合调查数据进行了分析，"
                   "提出了改进教学的若干措施。");

// GBK bytes back to text, through the program's own code page table.
QString decodeGbk(const QByteArray& bytes)
{
    static const QHash<QByteArray, QChar> table = [] {
        QHash<QByteArray, QChar> t;
        for (char32_t u = 0x80; u < 0x10000; ++u) {
            if (u >= 0xD800 && u < 0xE000)
                continue;
            const QByteArray b = text::cp936Bytes(char16_t(u));
            if (b.size() == 2)
                t.insert(b, QChar(char16_t(u)));
        }
        return t;
    }();
    QString out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80 || i + 1 == bytes.size()) {
            out += QChar(c);
            continue;
        }
        out += table.value(bytes.mid(i, 2), QChar(u'?'));
        ++i;
    }
    return out;
}

// A made-up result page for query: ten results, the first few of which highlight the query, so
// that each sentence gets its own figure and the titles repeat across sentences.
QByteArray resultPage(const QString& query)
{
    const uint h = qHash(query);
    const int highlighted = 2 + int(h % 5);
    QString html =
        QStringLiteral(
            "<html><head><meta charset=\"utf-8\"><title>示例搜索</title><style>"
            "body{font-family:'Noto Sans CJK SC',sans-serif;margin:0;font-size:14px}"
            ".top{background:#f4f5f7;padding:12px 20px;border-bottom:1px solid #dde}"
            ".q{display:inline-block;min-width:420px;border:2px solid #4e6ef2;border-radius:8px;padding:5px "
            "10px;"
            "background:#fff;margin-left:12px}.r{margin:14px 20px;max-width:660px}"
            "h3{font-size:17px;font-weight:normal;margin:0 0 4px}h3 a{color:#2440b3}"
            "em{color:#f73131;font-style:normal}.u{color:#1f7a3a;font-size:13px}</style></head><body>"
            "<div class=\"top\"><b>示例搜索</b><span class=\"q\">%1</span></div>")
            .arg(query.toHtmlEscaped());
    for (int k = 0; k < 10; ++k) {
        const QString title = kTitles[(h + uint(k) * 5) % kTitles.size()];
        const QString snippet = k < highlighted
                                    ? QStringLiteral("……<em>%1</em>……%2").arg(query.toHtmlEscaped(), kFiller)
                                    : kFiller;
        html += QStringLiteral("<div class=\"r\"><h3 class=\"t\"><a href=\"http://r%1.example/\" "
                               "data-click=\"{}\">%2</a></h3>"
                               "<div>%3</div><div class=\"u\">r%1.example</div></div>")
                    .arg(k)
                    .arg(title.toHtmlEscaped(), snippet);
    }
    return (html + QStringLiteral("</body></html>")).toUtf8();
}

StandInServer::Response answer(const QUrl& url)
{
    const QUrlQuery query(url);
    // Baidu's wd and Wenku's word are GBK, CNKI's q is UTF-8.
    QString key = QStringLiteral("wd");
    for (const char* other : {"word", "q"}) {
        if (query.hasQueryItem(QString::fromLatin1(other)))
            key = QString::fromLatin1(other);
    }
    const QByteArray encoded = query.queryItemValue(key, QUrl::FullyEncoded).toLatin1();
    const QString text = key == QStringLiteral("q") ? QUrl::fromPercentEncoding(encoded)
                                                    : decodeGbk(QByteArray::fromPercentEncoding(encoded));
    return {200, resultPage(text)};
}

void settle(int ms = 1500)
{
    pumpEvents(ms); // let Chromium paint; a picture, not a measurement
}

bool save(QWidget* window, const QDir& dir, const char* name)
{
    window->raise();
    window->activateWindow();
    settle();
    const QRect r = window->frameGeometry();
    const QPixmap picture = window->screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
    const QString path = dir.filePath(QString::fromLatin1(name));
    const bool ok = picture.save(path);
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(path), picture.width(),
                picture.height());
    return ok;
}

template <typename T> T* w(QWidget* window, const char* name)
{
    return child<T>(window, name);
}

bool fail(const char* what)
{
    std::fprintf(stderr, "screenshots: %s\n", what);
    return false;
}

bool run(const QDir& out, StandInServer& server)
{
    MessageBoxRecorder boxes; // the end-of-run box would stop the script
    const std::unique_ptr<Form1> window = Program::makeMainWindow();
    Form1& form = *window;
    form.resize(1040, 740);
    form.move(form.screen()->availableGeometry().center() - form.rect().center());
    form.show();
    if (!QTest::qWaitForWindowExposed(&form) ||
        !waitUntil([&] { return !form.resultPane().isBusy(); }, 20000))
        return fail("the main window did not come up");
    // Under a window manager the blank start page may report its load once more; the scoring of that
    // event would write its progress line over the analysis line in the picture.
    pumpEvents(1500);

    w<RichTextBox>(&form, "RichTextBox1")->setPlainText(kArticle);
    QTest::mouseClick(w<QPushButton>(&form, "Command1"), Qt::LeftButton);
    if (!waitUntil([&] { return w<QListWidget>(&form, "List1")->count() > 0; }, 10000))
        return fail("the analysis listed no sentence");
    if (!save(&form, out, "main-window.png"))
        return false;

    // The run's one-second timer is held from the moment the third result page has loaded, so the
    // picture shows the run going on with that page rather than the blank pane of the next step.
    auto* pane = form.findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"));
    auto* runTimer = form.findChild<QTimer*>(QStringLiteral("Timer2"));
    int resultPages = 0;
    const auto hold = QObject::connect(pane->page(), &QWebEnginePage::loadFinished, [&] {
        if (pane->url().host() == search::kBaiduHost && ++resultPages == 3 && runTimer)
            runTimer->stop();
    });
    QTest::mouseClick(w<QPushButton>(&form, "Command3"), Qt::LeftButton);
    const search::CheckRecord& record = form.findChild<search::CheckRun*>()->record();
    if (!waitUntil([&] { return resultPages >= 3 && record.count(search::SentenceState::Scored) > 0; },
                   60000))
        return fail("the automatic check did not search");
    QObject::disconnect(hold);
    bool saved = save(&form, out, "check.png");
    // The results table while the run is held on that page: the sentences searched so far coloured,
    // the rest not yet searched.
    if (saved) {
        child<QAction>(&form, "jieguo")->trigger();
        auto* results = form.findChild<QWidget*>(QStringLiteral("ResultWindow"));
        if (!results || !waitUntil([&] { return results->isVisible(); }, 5000))
            return fail("the results window did not open");
        results->resize(820, 560);
        results->move(form.pos() + QPoint(110, 80));
        auto* table = results->findChild<QTableView*>(QStringLiteral("ResultTable"));
        if (table)
            table->selectRow(0);
        saved = save(results, out, "results.png");
        results->hide();
        form.activateWindow();
    }
    if (runTimer)
        runTimer->start();
    if (!saved)
        return false;
    if (!waitUntil([&] { return !boxes.shown.isEmpty(); }, 180000))
        return fail("the automatic check did not end");

    QTest::mouseClick(w<QPushButton>(&form, "Command5"), Qt::LeftButton);
    const bool reported = waitUntil(
        [&] {
            bool done = false, found = false;
            pane->page()->runJavaScript(
                QStringLiteral("document.body ? document.body.innerHTML : ''"), [&](const QVariant& v) {
                    found = v.toString().contains(QStringLiteral("相似性网站分析结果"));
                    done = true;
                });
            waitUntil([&] { return done; }, 5000);
            return found;
        },
        20000);
    if (!reported)
        return fail("the statistics wrote no table");
    pane->page()->runJavaScript(QStringLiteral("window.scrollTo(0, 0)"));
    if (!save(&form, out, "report.png"))
        return false;

    child<QAction>(&form, "duibiqi")->trigger();
    Form2* comparator = nullptr;
    waitUntil(
        [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* f = qobject_cast<Form2*>(top); f && f->isVisible())
                    comparator = f;
            }
            return comparator != nullptr;
        },
        10000);
    if (!comparator)
        return fail("the comparator did not open");
    comparator->move(form.pos() + QPoint(60, 40));
    w<RichTextBox>(comparator, "RichTextBox2")->setPlainText(kReference);
    QTest::mouseClick(w<QPushButton>(comparator, "Command1"), Qt::LeftButton);
    if (!waitUntil([&] { return !w<QLabel>(comparator, "Label1")->text().isEmpty(); }, 20000))
        return fail("the comparator wrote no summary");
    // The last mark stays selected after a comparison; a click into the text shows it red like the rest.
    auto* article = w<RichTextBox>(comparator, "RichTextBox1");
    QTextCursor start(article->document());
    article->setTextCursor(start);
    return save(comparator, out, "comparator.png");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const quint16 port = StandInServer::reservePort();
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                " --ignore-certificate-errors --proxy-server=http://127.0.0.1:" + QByteArray::number(port) +
                " --proxy-bypass-list=<-loopback>");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    localisation::prepareBrowserLanguage();
    QApplication app(argc, argv);
    localisation::installChinese(app);
    QApplication::setWindowIcon(programIcon());
    fonts::installSongSubstitution();

    StandInServer server;
    if (!server.listen(port))
        return fail("no loopback port") ? 0 : 1;
    server.setHandler(answer);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path()))
        return 1;
    return run(out, server) ? 0 : 1;
}
