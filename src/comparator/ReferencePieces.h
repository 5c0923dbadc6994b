#pragma once

#include <QString>
#include <QStringList>

namespace comparator {

// Cuts the reference into clause-sized pieces: a line break goes after every full-width comma, full
// stop, exclamation and question mark and after "……" (half-width , . ! ? become full-width first),
// spaces, ideographic spaces and tabs right before a break are dropped, one fixed pass per pattern,
// and the text is split at every CR LF. Parts made only of spaces and ideographic spaces are
// dropped; the others stay exactly as cut, duplicates and all, in text order.
QStringList cutReference(const QString& reference);

} // namespace comparator
