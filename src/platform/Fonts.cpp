#include "platform/Fonts.h"

#include <QFont>
#include <QStringList>

namespace fonts {

void installSongSubstitution()
{
    const QStringList faces{QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                            QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(kSongTi, faces);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), faces.mid(1));
}

} // namespace fonts
