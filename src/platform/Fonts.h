#pragma once

#include <QString>

// The documents and labels ask for "宋体" (SimSun), which Linux desktops rarely have. Call once, after
// the application object exists, so that the name resolves to an installed Song or Ming face.
namespace fonts {

inline const QString kSongTi = QStringLiteral("宋体");

void installSongSubstitution();

} // namespace fonts
