#pragma once

#include "platform/MessageBox.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class RichTextBox;

// Answers every message box while it lives, and records what was asked.
class MessageBoxRecorder
{
public:
    explicit MessageBoxRecorder(MessageBox::Answer answer = MessageBox::Answer::Ok);
    ~MessageBoxRecorder();
    void answerWith(MessageBox::Answer answer) { m_answer = answer; }

    QList<MessageBox::Request> shown;

private:
    MessageBox::Answer m_answer;
};

// Finds a named descendant and fails the test when there is none.
template <typename T> T* child(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no child named %s", name);
    return found;
}

// Processes events until pred holds or timeoutMs passes; returns pred's last value.
bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 5000);

// Whether the process of that number has ended (a zombie waiting to be reaped has: its memory is freed).
bool processGone(qint64 pid);

// Processes events as they come for ms milliseconds: for tests that show that something does not
// happen. (QTest::qWait sleeps between rounds of events, which slows Qt WebEngine down.)
void pumpEvents(int ms);

// The selection of box as offsets into its text() (CR LF breaks), through the editor's own offset map.
qsizetype selectionStart(const RichTextBox& box);
qsizetype selectionLength(const RichTextBox& box);
