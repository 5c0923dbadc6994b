#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <optional>
#include <utility>
#include <vector>

class QTextDocument;

// Colours the comparison's marks red in a document. Each colour change relayouts what it touches,
// so marks wait and go in together, in one edit: thousands of them cost one relayout, not
// thousands. While they wait, edits the user makes move them the way coloured text would move.
class MarkPainter : public QObject
{
    Q_OBJECT
public:
    // A range of document positions, from inclusive, to exclusive.
    using Range = std::pair<int, int>;

    // How long marks may wait before they are applied while a comparison goes on.
    static constexpr int kApplyIntervalMs = 250;

    explicit MarkPainter(QTextDocument& document, QObject* parent = nullptr);

    // Starts the marks of one comparison; with clearFirst the whole document turns black with the
    // first apply, before the marks.
    void begin(bool clearFirst);
    void add(Range range);
    void applyIfDue();
    void apply();

    // The last mark added since begin(), moved by the edits made since.
    std::optional<Range> lastMark() const { return m_last; }
    // True once when the user changed the document since the last call.
    bool takeUserEdit();

private:
    void documentChanged(int position, int removed, int added);

    QTextDocument& m_document;
    std::vector<Range> m_waiting;
    std::optional<Range> m_last;
    bool m_clearAll = false;
    bool m_applying = false;
    bool m_userEdit = false;
    QElapsedTimer m_sinceApply;
};
