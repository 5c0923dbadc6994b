#pragma once

#include <QString>

// Full-width to half-width done by ICU's transliterator over the whole text: the reference that the
// program's table-driven conversion is checked against.
namespace icuwidth {

QString fullwidthToHalfwidth(const QString& text);

} // namespace icuwidth
