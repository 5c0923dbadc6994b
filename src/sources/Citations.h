#pragma once

#include "sources/ArticleParts.h"

#include <QList>
#include <QStringView>

// Quoted-and-cited passages: what a local check counts apart from copied text.
namespace sources {

// The spans of text that are quoted and cited: a quotation (“…”, "…", 「…」, 『…』) with a citation
// marker inside it or right after its closing mark ([n], [n-m], a superscript or circled note number,
// an author and year) that names an entry of the article's own reference list. Each span runs from
// the opening mark to the end of the marker. A marker without quotes, quotes without a marker and a
// marker the list does not hold make no span.
QList<Span> citedSpans(QStringView text, const QList<ReferenceEntry>& entries);

} // namespace sources
