#include "sources/Chapters.h"

#include <QRegularExpression>

namespace sources {
namespace {

constexpr qsizetype kMaxHeading = 40;

// The chapter a heading line begins: its key ("1", "摘要"), or empty when it is no chapter heading.
QString chapterKey(const QString& line)
{
    static const QRegularExpression named(
        QStringLiteral("^(摘要|中文摘要|abstract|结论|总结|结论与展望|总结与展望|致谢|参考文献|附录)[:：]?"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression chapter(QStringLiteral("^第\\s*([一二三四五六七八九十百0-9]+)\\s*章"));
    static const QRegularExpression numbered(
        QStringLiteral("^([0-9]{1,2})(?![0-9])(?:\\.[0-9]{1,2})*\\.?\\s*\\S"));
    if (line.size() > kMaxHeading || line.isEmpty())
        return {};
    if (QStringView(u"。；;，,：:").contains(line.back()))
        return {};
    QRegularExpressionMatch m = named.match(line);
    if (m.hasMatch()) {
        // 摘要 with the abstract's text on the same line is a heading too, but only its first word names it.
        QString key = m.captured(1).toLower();
        return key == QStringLiteral("中文摘要") ? QStringLiteral("摘要") : key;
    }
    m = chapter.match(line);
    if (m.hasMatch())
        return QStringLiteral("第") + m.captured(1);
    m = numbered.match(line);
    if (m.hasMatch()) {
        // A number followed by Han text or a space: "1 绪论", "2.3 方法"; not "2016年".
        const QChar after = line.at(m.capturedEnd(1));
        if (after == u'年' || after == u'%' || after == u'月')
            return {};
        return QStringLiteral("第") + m.captured(1);
    }
    return {};
}

// Chinese numbers of chapters up to 99, so that 第三章 and 3 are the same chapter.
QString arabic(QString key)
{
    static const QString digits = QStringLiteral("零一二三四五六七八九");
    if (!key.startsWith(u'第'))
        return key;
    const QString number = key.mid(1);
    bool ok = false;
    number.toInt(&ok);
    if (ok)
        return key;
    int value = 0;
    int current = 0;
    for (QChar c : number) {
        const qsizetype d = digits.indexOf(c);
        if (d >= 0)
            current = static_cast<int>(d);
        else if (c == u'十') {
            value += (current == 0 ? 1 : current) * 10;
            current = 0;
        }
    }
    return QStringLiteral("第") + QString::number(value + current);
}

} // namespace

QList<Chapter> chapters(QStringView text)
{
    QList<Chapter> out;
    QString currentKey;
    qsizetype start = 0;
    bool anyText = false;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\n')
            continue;
        const QString raw = text.sliced(start, i - start).toString();
        QString line = raw.trimmed();
        line.remove(u'\u3000');
        const QString key = arabic(chapterKey(line));
        if (!key.isEmpty() && key != currentKey) {
            if (!out.isEmpty())
                out.back().end = start;
            else if (anyText)
                out.append({QString(), 0, start});
            out.append({line, start, text.size()});
            currentKey = key;
        } else if (!line.isEmpty() && out.isEmpty() && !anyText) {
            anyText = true;
        }
        start = i + 1;
    }
    if (!out.isEmpty() && out.front().title.isEmpty()) {
        // The title page: named by its first line.
        const QStringView front = text.sliced(0, out.front().end);
        for (QStringView line : front.split(u'\n')) {
            if (!line.trimmed().isEmpty()) {
                out.front().title = line.trimmed().toString();
                break;
            }
        }
    }
    if (out.isEmpty() && !text.trimmed().isEmpty())
        out.append({QString(), 0, text.size()});
    return out;
}

} // namespace sources
