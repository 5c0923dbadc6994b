#pragma once

#include "sources/LocalCheck.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

// A local check as the window and the check report show it: the result with the names of its sources.
namespace sources {

struct LocalReport
{
    CheckResult result;
    QHash<qint64, QString> titles;
    QHash<qint64, QString> paths;
    QDateTime madeAt;
};

// A share as a percentage with at most two decimals: "12.5%".
QString percentText(double ratio);

// The figures of a check, one line each: 总文字复制比, 去除引用文献复制比, 单篇最大文字复制比, 重复字数.
QStringList figureLines(const CheckResult& result);

} // namespace sources
