#include "platform/PdfPrinter.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>

#include <deque>
#include <optional>

namespace {

constexpr int kResolution = 300; // dots per inch of the page's coordinates
constexpr std::chrono::milliseconds kSlice{40};
constexpr int kLayoutShare = 80; // percent of the progress that the layout takes
const QString kFooter = QStringLiteral("第 %1 页，共 %2 页");

qreal mm(qreal millimetres)
{
    return millimetres * kResolution / 25.4;
}

QFont font(qreal points, bool bold = false)
{
    QFont f;
    f.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// One thing drawn on a page: a line of a laid-out text, or a rectangle filled or framed.
struct Op
{
    const QTextLayout* layout = nullptr;
    int line = 0;
    QPointF at;
    QRectF rect;
    std::optional<QColor> fill;
    bool frame = false;
};

// What is placed as a whole: a line of a paragraph, a heading, a table row.
struct Unit
{
    qreal height = 0;
    QList<Op> ops; // y from the unit's top
    bool keepWithNext = false;
};

// Radicals (U+2E80 to U+2FDF) and the ideographs they look like share one glyph in the usual Chinese
// fonts, and the PDF engine maps a glyph back to the first character that has it: the PDF's text
// (search, copy, reading aloud) would say "⽂" for "文". Maps each radical to the ideograph of the
// document that has its glyph.
QHash<char32_t, char32_t> radicalsToIdeographs(const printed::Document& document)
{
    QSet<char32_t> used;
    auto add = [&](const QString& s) {
        for (const char32_t c : s.toUcs4())
            used.insert(c);
    };
    add(kFooter);
    for (const printed::Block& b : document) {
        for (const printed::Run& r : b.runs)
            add(r.text);
        for (const printed::Cell& c : b.header)
            for (const printed::Run& r : c)
                add(r.text);
        for (const printed::Row& row : b.rows)
            for (const printed::Cell& c : row.cells)
                for (const printed::Run& r : c)
                    add(r.text);
    }
    QHash<char32_t, char32_t> map;
    const QRawFont raw = QRawFont::fromFont(font(10));
    if (!raw.isValid())
        return map;
    QHash<quint32, char32_t> ideographOfGlyph;
    for (const char32_t c : used) {
        if (c >= 0x3400 && c <= 0x9FFF) {
            const quint32 g = raw.glyphIndexesForString(QString::fromUcs4(&c, 1)).value(0);
            if (g != 0)
                ideographOfGlyph.insert(g, c);
        }
    }
    for (char32_t r = 0x2E80; r <= 0x2FDF; ++r) {
        const quint32 g = raw.glyphIndexesForString(QString::fromUcs4(&r, 1)).value(0);
        if (g != 0 && ideographOfGlyph.contains(g))
            map.insert(r, ideographOfGlyph.value(g));
    }
    return map;
}

// Rewrites the targets of the PDF's ToUnicode maps in place (same length, so no offset moves).
void repairToUnicode(QByteArray& pdf, const QHash<char32_t, char32_t>& map)
{
    if (map.isEmpty())
        return;
    auto repair = [&](qsizetype at) { // at: the first of four hex digits
        bool ok = false;
        const char32_t c = QByteArray(pdf.constData() + at, 4).toUInt(&ok, 16);
        if (ok && map.contains(c))
            pdf.replace(at, 4, QByteArray::number(map.value(c), 16).toUpper().rightJustified(4, '0'));
    };
    for (qsizetype begin = pdf.indexOf("begincmap"); begin >= 0; begin = pdf.indexOf("begincmap", begin)) {
        const qsizetype end = pdf.indexOf("endcmap", begin);
        if (end < 0)
            return;
        // Targets: every code inside [ ], and the last code of a "<a> <b> <c>" or "<a> <b>" line.
        bool inArray = false;
        qsizetype lineCodes = 0;
        qsizetype lastCode = -1;
        for (qsizetype i = pdf.indexOf("endcodespacerange", begin); i >= 0 && i < end; ++i) {
            const char ch = pdf.at(i);
            if (ch == '[') {
                inArray = true;
            } else if (ch == ']') {
                inArray = false;
                lineCodes = 0;
            } else if (ch == '<' && i + 5 < end && pdf.at(i + 5) == '>') {
                if (inArray)
                    repair(i + 1);
                else
                    ++lineCodes, lastCode = i + 1;
                i += 5;
            } else if (ch == '\n') {
                if (!inArray && lineCodes >= 2 && lastCode >= 0)
                    repair(lastCode);
                lineCodes = 0;
            }
        }
        begin = end;
    }
}

} // namespace

struct PdfPrinter::Job
{
    printed::Document document;
    Done done;
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    qreal width = 0;
    qreal bodyHeight = 0;
    std::deque<QTextLayout> layouts;

    // Layout: the next block and row, the page being filled, the units waiting for the next.
    qsizetype block = 0;
    qsizetype row = -1; // -1: the block's start
    std::optional<Unit> tableHeader;
    QList<Unit> pending;
    QList<QList<Op>> pages;
    qreal y = 0;
    qsizetype unitsDone = 0;
    qsizetype unitsTotal = 0;

    // Painting.
    std::unique_ptr<QPainter> painter;
    qsizetype page = 0;

    Job(printed::Document doc, Done d) : document(std::move(doc)), done(std::move(d))
    {
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(18, 15, 18, 12), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Tessaro"));
        width = writer.width();
        bodyHeight = writer.height() - mm(9); // the footer's room
        for (const printed::Block& b : document)
            unitsTotal += 1 + b.rows.size();
        pages.append(QList<Op>());
    }

    const QTextLayout* lay(const QString& text, const QFont& f, qreal lineWidth,
                           QList<QTextLayout::FormatRange> formats = {}, qreal spacing = 1.15)
    {
        QTextLayout& l = layouts.emplace_back(QString(text).replace(u'\n', QChar::LineSeparator), f, &writer);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        l.setTextOption(option);
        l.setFormats(formats);
        l.beginLayout();
        qreal h = 0;
        for (QTextLine line = l.createLine(); line.isValid(); line = l.createLine()) {
            line.setLineWidth(lineWidth);
            line.setPosition(QPointF(0, h));
            h += line.height() * spacing;
        }
        l.endLayout();
        return &l;
    }

    static qreal heightOf(const QTextLayout* l)
    {
        return l->lineCount() == 0
                   ? 0
                   : l->lineAt(l->lineCount() - 1).position().y() + l->lineAt(l->lineCount() - 1).height();
    }

    void place(Unit unit, const std::optional<Unit>& header = std::nullopt)
    {
        pending.append(std::move(unit));
        if (pending.constLast().keepWithNext)
            return;
        qreal total = 0;
        for (const Unit& u : pending)
            total += u.height;
        if (y > 0 && y + total > bodyHeight) {
            pages.append(QList<Op>());
            y = 0;
            if (header && pending.size() == 1)
                put(*header);
        }
        for (const Unit& u : std::exchange(pending, {}))
            put(u);
    }

    void put(const Unit& u)
    {
        for (Op op : u.ops) {
            op.at.ry() += y;
            op.rect.translate(0, y);
            pages.last().append(op);
        }
        y += u.height;
    }

    Unit textUnit(const QTextLayout* l, qreal before, qreal after)
    {
        Unit u;
        u.ops.append({l, -1, QPointF(0, before), {}, std::nullopt, false});
        u.height = before + heightOf(l) + after;
        return u;
    }

    // The runs as one text with their formats.
    static std::pair<QString, QList<QTextLayout::FormatRange>> styled(const QList<printed::Run>& runs)
    {
        QString text;
        QList<QTextLayout::FormatRange> formats;
        for (const printed::Run& r : runs) {
            QTextCharFormat f;
            if (r.background)
                f.setBackground(QColor::fromRgb(*r.background));
            if (r.superscript) {
                f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
                f.setForeground(QColor(0x44, 0x44, 0x44));
            }
            if (!r.link.isEmpty()) {
                // The PDF engine makes an anchor a link the reader can follow.
                f.setAnchor(true);
                f.setAnchorHref(r.link);
                f.setForeground(QColor(0x00, 0x00, 0xaa));
            }
            if (r.background || r.superscript || !r.link.isEmpty())
                formats.append({static_cast<int>(text.size()), static_cast<int>(r.text.size()), f});
            text += r.text;
        }
        return {text, formats};
    }

    void paragraph(const printed::Block& b)
    {
        const auto [text, formats] = styled(b.runs);
        const QTextLayout* l = lay(text, font(9.5), width, formats, 1.4);
        // Line by line, so that a paragraph runs on over a page's end.
        for (int i = 0; i < l->lineCount(); ++i) {
            const QTextLine line = l->lineAt(i);
            Unit u;
            u.ops.append({l, i, QPointF(0, -line.position().y()), {}, std::nullopt, false});
            u.height = i + 1 < l->lineCount() ? l->lineAt(i + 1).position().y() - line.position().y()
                                              : line.height() + mm(2.5);
            place(std::move(u));
        }
    }

    Unit tableRow(const printed::Block& b, const QList<printed::Cell>& cells, std::optional<QColor> fill,
                  bool bold)
    {
        int total = 0;
        for (const int w : b.columnWidths)
            total += w;
        const qreal pad = mm(1);
        Unit u;
        qreal x = 0;
        qreal height = 0;
        QList<qreal> xs;
        for (qsizetype c = 0; c < b.columnWidths.size(); ++c) {
            const qreal w = width * b.columnWidths[c] / std::max(total, 1);
            xs.append(x);
            const auto [text, formats] = styled(cells.value(c));
            const QTextLayout* l = lay(text, font(8.5, bold), w - 2 * pad, formats);
            u.ops.append({l, -1, QPointF(x + pad, pad), {}, std::nullopt, false});
            height = std::max(height, heightOf(l) + 2 * pad);
            x += w;
        }
        xs.append(width);
        QList<Op> frames;
        for (qsizetype c = 0; c + 1 < xs.size(); ++c) {
            const QRectF cell(xs[c], 0, xs[c + 1] - xs[c], height);
            if (fill)
                frames.append({nullptr, 0, {}, cell, fill, false});
            frames.append({nullptr, 0, {}, cell, std::nullopt, true});
        }
        u.ops = frames + u.ops;
        u.height = height;
        return u;
    }

    // Lays out a share of the document; true when it is all laid out.
    bool layoutSome(const QElapsedTimer& clock)
    {
        while (block < document.size()) {
            if (clock.elapsed() > kSlice.count())
                return false;
            const printed::Block& b = document[block];
            using Kind = printed::Block::Kind;
            if (b.kind == Kind::Table) {
                if (row < 0) {
                    tableHeader = tableRow(b, b.header, QColor(0xe8, 0xe8, 0xe8), true);
                    Unit first = *tableHeader;
                    first.keepWithNext = !b.rows.isEmpty();
                    place(std::move(first));
                    row = 0;
                }
                const qsizetype end = std::min(b.rows.size(), row + 200);
                for (; row < end; ++row) {
                    const printed::Row& r = b.rows[row];
                    std::optional<QColor> fill;
                    if (r.background)
                        fill = QColor::fromRgb(*r.background);
                    place(tableRow(b, r.cells, fill, false), tableHeader);
                }
                if (row < b.rows.size()) {
                    unitsDone = unitsDoneBefore() + row;
                    continue;
                }
                y += mm(3);
            } else if (b.kind == Kind::Paragraph) {
                paragraph(b);
            } else {
                QString text;
                for (const printed::Run& r : b.runs)
                    text += r.text;
                if (b.kind == Kind::Title) {
                    place(textUnit(lay(text, font(18, true), width), 0, mm(4)));
                } else if (b.kind == Kind::Heading) {
                    Unit u = textUnit(lay(text, font(13.5, true), width), mm(3), mm(2));
                    u.keepWithNext = true;
                    place(std::move(u));
                } else { // a notice, framed
                    const qreal pad = mm(2);
                    const QTextLayout* l = lay(text, font(10.5, true), width - 2 * pad);
                    Unit u;
                    const QRectF box(0, 0, width, heightOf(l) + 2 * pad);
                    u.ops = {{nullptr, 0, {}, box, QColor(0xf4, 0xf4, 0xf4), false},
                             {nullptr, 0, {}, box, std::nullopt, true},
                             {l, -1, QPointF(pad, pad), {}, std::nullopt, false}};
                    u.height = box.height() + mm(3);
                    place(std::move(u));
                }
            }
            ++block;
            row = -1;
            unitsDone = unitsDoneBefore();
        }
        for (const Unit& u : std::exchange(pending, {})) // a heading at the very end
            put(u);
        return true;
    }

    qsizetype unitsDoneBefore() const
    {
        qsizetype n = 0;
        for (qsizetype i = 0; i < block && i < document.size(); ++i)
            n += 1 + document[i].rows.size();
        return n;
    }

    // Paints a share of the pages; true when all are painted.
    bool paintSome(const QElapsedTimer& clock)
    {
        if (!painter) {
            painter = std::make_unique<QPainter>();
            if (!painter->begin(&writer))
                return true;
        }
        const QString& footer = kFooter;
        const QFont footerFont = font(9);
        QPen framePen(QColor(0x99, 0x99, 0x99));
        framePen.setWidthF(mm(0.2));
        for (; page < pages.size(); ++page) {
            if (clock.elapsed() > kSlice.count())
                return false;
            if (page > 0)
                writer.newPage();
            for (const Op& op : pages[page]) {
                if (op.layout) {
                    painter->setPen(Qt::black);
                    if (op.line < 0)
                        op.layout->draw(painter.get(), op.at);
                    else
                        op.layout->lineAt(op.line).draw(painter.get(), op.at);
                } else if (op.fill) {
                    painter->fillRect(op.rect, *op.fill);
                } else if (op.frame) {
                    painter->setPen(framePen);
                    painter->setBrush(Qt::NoBrush);
                    painter->drawRect(op.rect);
                }
            }
            painter->setPen(Qt::black);
            painter->setFont(footerFont);
            painter->drawText(QRectF(0, writer.height() - mm(6), width, mm(6)), Qt::AlignCenter,
                              footer.arg(page + 1).arg(pages.size()));
        }
        painter->end();
        return true;
    }

    int percent() const
    {
        if (!painter)
            return static_cast<int>(kLayoutShare * unitsDone / std::max<qsizetype>(unitsTotal, 1));
        return kLayoutShare +
               static_cast<int>((100 - kLayoutShare) * page / std::max<qsizetype>(pages.size(), 1));
    }
};

PdfPrinter::PdfPrinter(QObject* parent) : QObject(parent)
{
    m_slice.setSingleShot(true);
    m_slice.setInterval(0);
    connect(&m_slice, &QTimer::timeout, this, &PdfPrinter::step);
}

PdfPrinter::~PdfPrinter() = default;

void PdfPrinter::print(printed::Document document, Done done)
{
    m_job = std::make_unique<Job>(std::move(document), std::move(done));
    emit progress(0);
    m_slice.start();
}

void PdfPrinter::cancel()
{
    m_slice.stop();
    m_job.reset();
}

void PdfPrinter::step()
{
    if (!m_job)
        return;
    QElapsedTimer clock;
    clock.start();
    const bool laidOut = m_job->painter || m_job->layoutSome(clock);
    const bool painted = laidOut && m_job->paintSome(clock);
    emit progress(m_job->percent());
    if (!painted) {
        m_slice.start();
        return;
    }
    std::unique_ptr<Job> job = std::move(m_job);
    QByteArray pdf = job->buffer.data();
    if (!pdf.startsWith("%PDF"))
        pdf.clear();
    repairToUnicode(pdf, radicalsToIdeographs(job->document));
    job->done(pdf);
}
