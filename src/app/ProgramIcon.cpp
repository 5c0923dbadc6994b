#include "app/ProgramIcon.h"

#include <QDir>

QIcon programIcon()
{
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString& file : icons.entryList({QStringLiteral("tessaro-*.png")}, QDir::Files))
        icon.addFile(icons.filePath(file));
    return icon;
}
