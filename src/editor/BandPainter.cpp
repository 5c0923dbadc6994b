#include "editor/BandPainter.h"

#include "editor/MarkColors.h"
#include "editor/RichTextBox.h"

#include <QElapsedTimer>
#include <QTextCursor>

namespace editor {
namespace {

// Work per slice. The end of each edit block lays out again the whole stretch of text it changed,
// which costs far more than the changes (a whole thesis takes a fifth of a second): a slice covers at
// most kSliceCharacters of text, about 15 ms, and at most kSliceMs of changes, so that a key press
// waits no longer than a frame or two.
constexpr qsizetype kSliceCharacters = 16000;
constexpr qint64 kSliceMs = 15;

} // namespace

BandPainter::BandPainter(RichTextBox& box, QObject* parent) : QObject(parent), m_box(&box)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &BandPainter::slice);
}

void BandPainter::paint(QList<BandMark> marks)
{
    start(std::move(marks), false);
}

void BandPainter::clear()
{
    if (!m_box)
        return;
    // The whole text in stretches, each laid out again on its own.
    QList<BandMark> stretches;
    const qsizetype length = m_box->text().size();
    for (qsizetype at = 0; at < length; at += kSliceCharacters)
        stretches.append({at, std::min(kSliceCharacters, length - at), std::nullopt});
    start(std::move(stretches), true);
}

void BandPainter::start(QList<BandMark> marks, bool blacken)
{
    if (!m_box)
        return;
    m_marks = std::move(marks);
    m_blacken = blacken;
    m_next = 0;
    m_begun = false;
    m_textVersion = m_box->textVersion();
    m_timer.start();
}

void BandPainter::slice()
{
    if (!m_box || m_box->textVersion() != m_textVersion || m_next >= m_marks.size()) {
        m_timer.stop();
        emit finished();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    QTextCursor block(m_box->document());
    if (m_begun)
        block.joinPreviousEditBlock();
    else
        block.beginEditBlock();
    m_begun = true;
    const qsizetype from = m_marks[m_next].start;
    // The clock is read once in a while: reading it costs more than a mark.
    while (m_next < m_marks.size()) {
        const BandMark& mark = m_marks[m_next++];
        QTextCharFormat f;
        f.setBackground(mark.background ? QBrush(QColor(QRgb(*mark.background))) : QBrush(Qt::NoBrush));
        if (m_blacken)
            f.setForeground(marks::kBlack);
        m_box->mergeFormat(mark.start, mark.length, f);
        if (mark.start + mark.length - from >= kSliceCharacters ||
            (m_next % 64 == 0 && clock.elapsed() >= kSliceMs))
            break;
    }
    block.endEditBlock();
    if (m_next >= m_marks.size()) {
        m_timer.stop();
        m_marks.clear();
        emit finished();
    }
}

} // namespace editor
