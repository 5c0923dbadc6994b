#pragma once

#include <QString>

class QWidget;

// The items of "帮助": each opens a window of the program (one of each kind at a time) that Esc closes.
namespace help {

// 使用说明: the usage steps, shipped inside the program.
QWidget* showUsage(QWidget* parent);
// Where the program keeps what it keeps.
struct DataPlaces
{
    QString storeDirectory; // the kept results' folder; empty: this run keeps no results
    QString sourcesLibrary; // the source library's file
};

// 检测记录保存在哪里: the kept results' file, the source library and the settings file, with a button
// that opens the results' folder.
QWidget* showDataPlaces(QWidget* parent, const DataPlaces& places);
// 关于 Tessaro: version, licence, the libraries and their licences, where data is kept, nothing uploaded.
QWidget* showAbout(QWidget* parent, const DataPlaces& places);

// The usage steps as shipped.
QString usageText();

} // namespace help
