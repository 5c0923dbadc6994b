#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The parts of an article that a local check treats apart: what is never counted (the table of
// contents, the reference list, the abstract's keyword line) and the reference list's entries, which
// citation markers name.
namespace sources {

struct Span
{
    qsizetype start = 0;
    qsizetype end = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

struct ArticleParts
{
    QList<Span> excluded;   // in order, not overlapping
    QList<Span> references; // the reference lists among them
};

ArticleParts articleParts(QStringView text);

// One entry of a reference list: its number when it has one ([3], 3., 3、), and its text.
struct ReferenceEntry
{
    int number = 0;
    QString text;
};

QList<ReferenceEntry> referenceEntries(QStringView text, const QList<Span>& references);

} // namespace sources
