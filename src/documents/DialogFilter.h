#pragma once

#include <QString>
#include <QStringList>

// File-type filters written the Windows way, "description|pattern|description|pattern…", as the
// list of "description (pattern)" entries that a Qt file dialog takes.
namespace documents {

QStringList toQtFilters(const QString& pairs);

} // namespace documents
