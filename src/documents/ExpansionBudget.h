#pragma once

#include <QtGlobal>

#include <algorithm>
#include <atomic>

// What one document may become once it is read.
namespace documents {

// Limits no thesis comes near, so that a small file made to unfold into gigabytes (a run of spaces
// a number asks for, a list label a start value asks for, paragraphs by the million) is refused
// before its memory is taken. A reader charges what it is about to produce; once a charge does not
// fit, the budget stays exceeded and the reader stops. A read that is cancelled stops the same way.
class ExpansionBudget
{
public:
    explicit ExpansionBudget(const std::atomic<bool>* cancel = nullptr) : m_cancel(cancel) {}

    static constexpr qint64 kMaxCharacters = 20'000'000; // a hundred theses
    static constexpr qint64 kMaxParagraphs = 500'000;
    static constexpr qint64 kMaxNesting = 1'000; // lists in lists, fields in fields, boxes in boxes

    // Charges count characters.
    bool characters(qint64 count)
    {
        m_characters += std::max<qint64>(count, 0);
        return fits();
    }
    // Charges a paragraph and the line end after it.
    bool paragraph() { return paragraphs(1); }
    bool paragraphs(qint64 count)
    {
        m_paragraphs += std::max<qint64>(count, 0);
        return characters(count);
    }
    // Whether depth open lists (or fields) at once are still within the limit.
    bool nesting(qint64 depth)
    {
        m_exceeded = m_exceeded || depth > kMaxNesting;
        return fits();
    }
    bool exceeded() const { return m_exceeded; }
    // The budget ran out because the read was cancelled.
    bool cancelled() const { return m_cancel && m_cancel->load(std::memory_order_relaxed); }
    // The characters still to be had: a reader that is about to build a long string asks first.
    qint64 remaining() const { return std::max<qint64>(kMaxCharacters - m_characters, 0); }

private:
    bool fits()
    {
        m_exceeded =
            m_exceeded || m_characters > kMaxCharacters || m_paragraphs > kMaxParagraphs || cancelled();
        return !m_exceeded;
    }

    const std::atomic<bool>* m_cancel = nullptr;
    qint64 m_characters = 0;
    qint64 m_paragraphs = 0;
    bool m_exceeded = false;
};

} // namespace documents
