#pragma once

#include <QString>

namespace search {

// The text a sentence is searched with: trimmed, its punctuation turned into spaces, double spaces
// halved once. Spaces this creates at the ends stay.
QString queryText(const QString& sentence);

// A query that is not worth a search: empty, one space, or the private-use character U+E003.
bool isBlankQuery(const QString& query);

} // namespace search
