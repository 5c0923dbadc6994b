#pragma once

// Helpers of the comparator's window tests.
#include "comparator/Form2.h"
#include "editor/RichTextBox.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <functional>

// The article's colours, one character per text offset (a line break is CR LF, two): '^' red,
// '.' anything else.
inline QString redMask(const RichTextBox& box)
{
    QString out;
    const QColor red(255, 0, 0);
    for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
        if (b != box.document()->begin())
            out += QStringLiteral("..");
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const bool isRed = f.charFormat().foreground().color() == red;
            out += QString(f.length(), isRed ? u'^' : u'.');
        }
    }
    return out;
}

// The open comparator window, if any.
inline Form2* openComparator()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* f = qobject_cast<Form2*>(w); f && f->isVisible())
            return f;
    }
    return nullptr;
}

// Runs action at the n-th yield to the event loop from now on (n counts from 1), once. A comparison
// yields once per piece and once per further occurrence, so this reaches a chosen point of it.
class AtYield
{
public:
    AtYield(int n, std::function<void()> action) : m_n(n), m_action(std::move(action))
    {
        m_connection =
            QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [this] {
                if (++m_count == m_n) {
                    QObject::disconnect(m_connection);
                    m_action();
                }
            });
    }
    ~AtYield() { QObject::disconnect(m_connection); }
    AtYield(const AtYield&) = delete;
    AtYield& operator=(const AtYield&) = delete;

    int yields() const { return m_count; }

private:
    int m_n;
    int m_count = 0;
    std::function<void()> m_action;
    QMetaObject::Connection m_connection;
};
