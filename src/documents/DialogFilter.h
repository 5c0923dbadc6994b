#pragma once

#include <QString>
#include <QStringList>

// File-type filters written the Windows way, "description|pattern|description|pattern…", as the
// list of "description (pattern)" entries that a Qt file dialog takes.
namespace documents {

QStringList toQtFilters(const QString& pairs);

// One Qt filter for every pattern of the given ones, in their order, each once: "description (p1 p2 …)".
QString combinedFilter(const QString& description, const QStringList& qtFilters);

// The name a file dialog's type column gives a file of that extension (case ignored), in Chinese: the
// documents the program reads by their kind, anything else as "<EXT> 文件".
QString fileTypeName(const QString& suffix);
inline const QString kFolderTypeName = QStringLiteral("文件夹");

} // namespace documents
