#pragma once

#include "editor/BandMarks.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class RichTextBox;

namespace editor {

// Colours an editor's sentences by their bands a slice at a time from the event loop, so that the
// window answers while a whole thesis is coloured. Only backgrounds change: the text, its colours
// (the compare step's red mark) and the selection stay. The colouring is one undo step, however many
// slices it takes; an edit of the text meanwhile ends it, since the places no longer hold.
class BandPainter : public QObject
{
    Q_OBJECT
public:
    explicit BandPainter(RichTextBox& box, QObject* parent = nullptr);

    // Starts colouring; a colouring still going on is given up for this one.
    void paint(QList<BandMark> marks);
    // The whole text black, without backgrounds, the same way; a colouring going on is given up.
    void clear();
    bool isBusy() const { return m_timer.isActive(); }

signals:
    // The last slice is done, or an edit of the text ended the colouring (not when another replaced it).
    void finished();

private:
    void start(QList<BandMark> marks, bool blacken);
    void slice();

    QPointer<RichTextBox> m_box;
    QList<BandMark> m_marks;
    qsizetype m_next = 0;
    quint64 m_textVersion = 0;
    bool m_blacken = false; // the text turns black as well
    bool m_begun = false;   // the first slice opened the undo step the later ones join
    QTimer m_timer;
};

} // namespace editor
