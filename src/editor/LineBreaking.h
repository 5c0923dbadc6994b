#pragma once

#include <QStringView>

// Whether a text can be laid out with the usual word wrapping. Qt looks for the next word boundary
// to the end of a stretch without one on every line it lays out, so a long such stretch (a line of
// Latin letters without spaces, base64, a hash dump) costs the square of its length. Breaking
// anywhere costs the same for every line.
namespace editor {

// Stretches longer than this break anywhere: no word is this long, and shorter stretches cost little.
inline constexpr qsizetype kMaxUnbrokenStretch = 2000;

// The length of the longest stretch of text without a place where word wrapping may break it.
qsizetype longestUnbrokenStretch(QStringView text);

// True when the text is to be wrapped anywhere rather than at word boundaries.
bool wrapsAnywhere(QStringView text);

} // namespace editor
