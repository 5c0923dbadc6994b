#include "editor/BandPainter.h"

#include "editor/MarkColors.h"
#include "editor/RichTextBox.h"

#include <QTextCursor>

namespace editor {
namespace {

// Work per slice: long enough that the layout after each edit block is a small share, short enough
// that a key press waits no longer than a frame or two.
constexpr qint64 kSliceMs = 25;

} // namespace

BandPainter::BandPainter(RichTextBox& box, QObject* parent) : QObject(parent), m_box(&box)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &BandPainter::slice);
}

void BandPainter::paint(QList<BandMark> marks)
{
    if (!m_box)
        return;
    m_marks = std::move(marks);
    m_next = 0;
    m_begun = false;
    m_textVersion = m_box->textVersion();
    m_timer.start();
}

void BandPainter::clear()
{
    const bool wasBusy = isBusy();
    m_timer.stop();
    m_marks.clear();
    if (m_box) {
        QTextCharFormat f;
        f.setForeground(marks::kBlack);
        f.setBackground(Qt::NoBrush);
        QTextCursor all(m_box->document());
        all.select(QTextCursor::Document);
        all.mergeCharFormat(f);
    }
    if (wasBusy)
        emit finished();
}

void BandPainter::slice()
{
    if (!m_box || m_box->textVersion() != m_textVersion) {
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
    // The clock is read once in a while: reading it costs more than a mark.
    while (m_next < m_marks.size()) {
        const BandMark& mark = m_marks[m_next++];
        QTextCharFormat f;
        f.setBackground(mark.background ? QBrush(QColor(QRgb(*mark.background))) : QBrush(Qt::NoBrush));
        m_box->mergeFormat(mark.start, mark.length, f);
        if (m_next % 64 == 0 && clock.elapsed() >= kSliceMs)
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
