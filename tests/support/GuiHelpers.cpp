#include "support/GuiHelpers.h"

#include <QTest>

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
    return QTest::qWaitFor(pred, timeoutMs);
}
