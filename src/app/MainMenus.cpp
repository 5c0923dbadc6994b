#include "app/MainMenus.h"

#include "search/Engines.h"
#include "widgets/WindowParts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

namespace {

const QString kCutBySentenceKey = QStringLiteral("analysis/bySentence");

void addFileMenu(QMenuBar& bar, MainMenus& m)
{
    m.file = bar.addMenu(QStringLiteral("文件"));
    m.file->setObjectName(QStringLiteral("wjcd"));
    m.newDocument = windowparts::addItem(m.file, "xinjian", QStringLiteral("新建"));
    m.open = windowparts::addItem(m.file, "dakai", QStringLiteral("打开"));
    m.save = windowparts::addItem(m.file, "baocun", QStringLiteral("保存"));
    m.exportReport = windowparts::addItem(m.file, "daochu", QStringLiteral("导出检测报告…"));
    m.clearKeptResults = windowparts::addItem(m.file, "qingchu", QStringLiteral("清除检测记录…"));
    windowparts::addSeparator(m.file, "fg1");
    m.exit = windowparts::addItem(m.file, "tuichu", QStringLiteral("退出"));
}

void addEditMenu(QMenuBar& bar, MainMenus& m)
{
    m.edit = bar.addMenu(QStringLiteral("编辑"));
    m.edit->setObjectName(QStringLiteral("yjcd"));
    editor::EditActions& e = m.editActions;
    e.undo = windowparts::addItem(m.edit, "cx", QStringLiteral("撤销"));
    windowparts::addSeparator(m.edit, "fg2");
    e.cut = windowparts::addItem(m.edit, "jq", QStringLiteral("剪切"));
    e.copy = windowparts::addItem(m.edit, "fz", QStringLiteral("复制"));
    e.paste = windowparts::addItem(m.edit, "nt", QStringLiteral("粘贴"));
    e.deleteSelection = windowparts::addItem(m.edit, "sc", QStringLiteral("删除"));
    windowparts::addSeparator(m.edit, "fg3");
    e.selectAll = windowparts::addItem(m.edit, "qx", QStringLiteral("全选"));
    windowparts::addSeparator(m.edit, "fg4");
    m.colourByBand = windowparts::addItem(m.edit, "biaose", QStringLiteral("按相似度标色"));
    m.clearColours = windowparts::addItem(m.edit, "qingchubiaose", QStringLiteral("清除标色"));
}

void addEngineMenu(QMenuBar& bar, MainMenus& m)
{
    m.engines = bar.addMenu(QStringLiteral("引擎选择"));
    m.engines->setObjectName(QStringLiteral("yinqing"));
    m.baidu = windowparts::addItem(m.engines, "baidu", search::engineName(search::Engine::Baidu));
    m.wenku = windowparts::addItem(m.engines, "wenku", search::engineName(search::Engine::Wenku));
    m.longyuan = windowparts::addItem(m.engines, "longyuan", search::engineName(search::Engine::Longyuan));
    m.zhiwang = windowparts::addItem(m.engines, "zhiwang", search::engineName(search::Engine::Zhiwang));
    for (QAction* a : {m.baidu, m.wenku, m.longyuan, m.zhiwang})
        a->setCheckable(true);
    m.longyuan->setEnabled(false);
}

void addOptionsMenu(QMenuBar& bar, MainMenus& m)
{
    m.options = bar.addMenu(QStringLiteral("选项"));
    m.options->setObjectName(QStringLiteral("xuanxiang"));
    m.cutBySentence = windowparts::addItem(m.options, "anjuqiefen", QStringLiteral("按句子切分"));
    m.cutBySentence->setCheckable(true);
    m.cutBySentence->setChecked(QSettings().value(kCutBySentenceKey, false).toBool());
    QObject::connect(m.cutBySentence, &QAction::toggled, m.options,
                     [](bool on) { QSettings().setValue(kCutBySentenceKey, on); });
    m.localRun = windowparts::addItem(m.options, "zuiduanchongfu", QStringLiteral("本地比对的最短重复字数"));
}

void addSourcesMenu(QMenuBar& bar, MainMenus& m)
{
    m.sources = bar.addMenu(QStringLiteral("来源库"));
    m.sources->setObjectName(QStringLiteral("laiyuan"));
    m.addSourceFiles = windowparts::addItem(m.sources, "tianjiawenjian", QStringLiteral("添加来源文件…"));
    m.addSourceFolder =
        windowparts::addItem(m.sources, "tianjiawenjianjia", QStringLiteral("添加来源文件夹…"));
    m.manageSources = windowparts::addItem(m.sources, "guanlilaiyuan", QStringLiteral("管理来源库…"));
    m.sources->addSeparator();
    m.localCheck = windowparts::addItem(m.sources, "bendibidui", QStringLiteral("本地比对"));
}

void addHelpMenu(QMenuBar& bar, MainMenus& m)
{
    m.help = bar.addMenu(QStringLiteral("帮助"));
    m.help->setObjectName(QStringLiteral("bangzhu"));
    m.usage = windowparts::addItem(m.help, "shiyongshuoming", QStringLiteral("使用说明"));
    m.dataPlaces = windowparts::addItem(m.help, "shujuweizhi", QStringLiteral("检测记录保存在哪里"));
    m.about = windowparts::addItem(m.help, "guanyu", QStringLiteral("关于 Tessaro"));
}

QAction* addBarItem(QMenuBar& bar, const char* name, const QString& caption)
{
    QAction* action = bar.addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

MainMenus createMainMenus(QMenuBar& bar)
{
    MainMenus m;
    addFileMenu(bar, m);
    addEditMenu(bar, m);
    addEngineMenu(bar, m);
    addOptionsMenu(bar, m);
    addSourcesMenu(bar, m);
    m.comparator = addBarItem(bar, "duibiqi", QStringLiteral("对比器"));
    m.results = addBarItem(bar, "jieguo", QStringLiteral("检测结果"));
    m.update = addBarItem(bar, "gengxin", QStringLiteral("获取更新"));
    m.update->setVisible(false);
    addHelpMenu(bar, m);
    return m;
}
