#pragma once

#include "editor/EditCommands.h"

class QAction;
class QMenu;
class QMenuBar;

// The main window's menu bar, its items named for what they do (the objectNames are the program's
// own: wjcd, daochu, yinqing, …). Creating it connects nothing but the option's setting.
struct MainMenus
{
    QMenu* file = nullptr;               // wjcd
    QAction* newDocument = nullptr;      // xinjian
    QAction* open = nullptr;             // dakai
    QAction* save = nullptr;             // baocun
    QAction* exportReport = nullptr;     // daochu
    QAction* clearKeptResults = nullptr; // qingchu
    QAction* exit = nullptr;             // tuichu
    QMenu* edit = nullptr;               // yjcd
    editor::EditActions editActions;     // cx, jq, fz, nt, sc, qx
    QAction* colourByBand = nullptr;     // biaose
    QAction* clearColours = nullptr;     // qingchubiaose
    QMenu* engines = nullptr;            // yinqing
    QAction* baidu = nullptr;
    QAction* wenku = nullptr;
    QAction* longyuan = nullptr;
    QAction* zhiwang = nullptr;
    QMenu* options = nullptr;           // xuanxiang
    QAction* cutBySentence = nullptr;   // anjuqiefen, kept in the settings
    QAction* localRun = nullptr;        // zuiduanchongfu: the shortest repeated run of 本地比对
    QMenu* sources = nullptr;           // laiyuan
    QAction* addSourceFiles = nullptr;  // tianjiawenjian
    QAction* addSourceFolder = nullptr; // tianjiawenjianjia
    QAction* manageSources = nullptr;   // guanlilaiyuan
    QAction* localCheck = nullptr;      // bendibidui, F9
    QAction* comparator = nullptr;      // duibiqi, on the bar itself
    QAction* results = nullptr;         // jieguo
    QAction* update = nullptr;          // gengxin, hidden
    QMenu* help = nullptr;              // bangzhu, the last on the bar
    QAction* usage = nullptr;           // shiyongshuoming
    QAction* dataPlaces = nullptr;      // shujuweizhi
    QAction* about = nullptr;           // guanyu
};

MainMenus createMainMenus(QMenuBar& bar);
