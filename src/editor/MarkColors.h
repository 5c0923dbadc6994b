#pragma once

#include <QColor>

// Marked text is red, unmarked text black, in both windows and in saved files.
namespace marks {

inline const QColor kRed(255, 0, 0);
inline const QColor kBlack(0, 0, 0);
// 本地比对: copied passages and quoted-and-cited ones.
inline const QColor kCopied(255, 0, 0);
inline const QColor kCited(0, 153, 0);

} // namespace marks
