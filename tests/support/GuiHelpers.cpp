#include "support/GuiHelpers.h"

#include "editor/RichTextBox.h"
#include "editor/TextOffsets.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

MessageBoxRecorder::MessageBoxRecorder(MessageBox::Answer answer) : m_answer(answer)
{
    MessageBox::setHandler([this](const MessageBox::Request& r) {
        shown.append(r);
        return m_answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    MessageBox::setHandler({});
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs)
{
    // An event loop that runs every event as it comes, with a short timer to look at pred again.
    // (QTest::qWaitFor sleeps 10 ms between rounds of events, which holds up Chromium's many round
    // trips on this thread: a page load then takes seconds.)
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() >= timeoutMs)
            return pred();
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
        // Windows closed with deleteLater go, as they do when the program's own loop runs.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

void pumpEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool processGone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && line.mid(close + 2, 1) == "Z"; // dead, waiting for its parent to reap it
}

qsizetype selectionStart(const RichTextBox& box)
{
    return editor::OffsetMap(box.text()).toText(box.textCursor().selectionStart());
}

qsizetype selectionLength(const RichTextBox& box)
{
    const editor::OffsetMap map(box.text());
    const QTextCursor c = box.textCursor();
    return map.toText(c.selectionEnd()) - map.toText(c.selectionStart());
}
