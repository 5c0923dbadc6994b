#include "comparator/MarkPainter.h"

#include "editor/MarkColors.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

MarkPainter::MarkPainter(QTextDocument& document, QObject* parent) : QObject(parent), m_document(document)
{
    connect(&document, &QTextDocument::contentsChange, this, &MarkPainter::documentChanged);
    m_sinceApply.start();
}

void MarkPainter::begin(bool clearFirst)
{
    m_waiting.clear();
    m_last.reset();
    m_clearAll = clearFirst;
    m_userEdit = false;
    m_sinceApply.restart();
}

void MarkPainter::add(Range range)
{
    m_waiting.push_back(range);
    m_last = range;
}

void MarkPainter::applyIfDue()
{
    if (m_sinceApply.elapsed() >= kApplyIntervalMs)
        apply();
}

void MarkPainter::apply()
{
    m_sinceApply.restart();
    if (m_waiting.empty() && !m_clearAll)
        return;
    m_applying = true;
    const int last = m_document.characterCount() - 1;
    QTextCursor c(&m_document);
    c.beginEditBlock();
    if (m_clearAll) {
        c.select(QTextCursor::Document);
        QTextCharFormat black;
        black.setForeground(marks::kBlack);
        c.mergeCharFormat(black);
    }
    QTextCharFormat red;
    red.setForeground(marks::kRed);
    for (const auto& [from, to] : m_waiting) {
        const int a = std::clamp(from, 0, last);
        const int b = std::clamp(to, 0, last);
        if (a >= b)
            continue;
        c.setPosition(a);
        c.setPosition(b, QTextCursor::KeepAnchor);
        c.mergeCharFormat(red);
    }
    c.endEditBlock();
    m_applying = false;
    m_waiting.clear();
    m_clearAll = false;
}

bool MarkPainter::takeUserEdit()
{
    return std::exchange(m_userEdit, false);
}

void MarkPainter::documentChanged(int position, int removed, int added)
{
    if (m_applying)
        return;
    m_userEdit = true;
    if (removed == added)
        return; // a change of format, or text replaced in place: positions stay valid
    // A start inside removed text moves past what replaced it, an end to its start, so a mark keeps
    // exactly the characters of it that are left; text typed right before a mark stays outside it.
    auto moveStart = [&](int x) {
        return x < position ? x : x >= position + removed ? x - removed + added : position + added;
    };
    auto moveEnd = [&](int x) {
        return x <= position ? x : x >= position + removed ? x - removed + added : position;
    };
    auto move = [&](Range& r) { r = {moveStart(r.first), std::max(moveStart(r.first), moveEnd(r.second))}; };
    for (Range& r : m_waiting)
        move(r);
    if (m_last)
        move(*m_last);
}
