// 本地比对 in the main window: the marks in the editor and the figures of the result view.
#include "app/SourcesCommands.h"
#include "editor/MarkColors.h"
#include "report/Bands.h"
#include "sources/Library.h"
#include "sources/LocalReport.h"
#include "support/Form1Fixture.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString kCopied = QStringLiteral("机器学习方法在自然语言处理领域得到了广泛应用并取得显著成果");
const QString kCited = QStringLiteral("卷积神经网络能够自动提取图像的局部特征从而提高分类的准确率");

class SourcesWindow : public Form1Fixture
{
protected:
    void SetUp() override
    {
        library = dir.filePath(QStringLiteral("sources.sqlite"));
        sources::Library l(library);
        const QString text = kCopied + QStringLiteral("。") + kCited;
        ASSERT_TRUE(l.addSource(QStringLiteral("/来源/论文.pdf"), "hash", 100, QStringLiteral("论文"), text));
        Program::Options options;
        options.sourcesLibrary = library;
        start(std::move(options));
    }

    QTextCharFormat formatAt(const QString& piece)
    {
        QTextCursor cursor(editor()->document());
        cursor.setPosition(static_cast<int>(editor()->document()->toPlainText().indexOf(piece)) + 2);
        return cursor.charFormat();
    }
    QColor colourAt(const QString& piece) { return formatAt(piece).foreground().color(); }

    QTemporaryDir dir;
    QString library;
};

TEST_F(SourcesWindow, LocalCheckMarksCopiedAndCitedAndShowsTheFigures)
{
    editor()->setPlainText(QStringLiteral("第1章 绪论\n我自己写的开头。") + kCopied +
                           QStringLiteral("\n他说：“") + kCited +
                           QStringLiteral("”[1]。\n参考文献\n[1] 张三. 图像[J]. 2019."));
    // The backgrounds of 按相似度标色, left by an online check.
    const QColor band(QRgb(*report::bandStyle(report::Band::High).colour));
    QTextCharFormat banded;
    banded.setBackground(band);
    editor()->mergeFormat(0, editor()->text().size(), banded);
    QAction* check = form->findChild<QAction*>(QStringLiteral("bendibidui"));
    ASSERT_TRUE(check);
    EXPECT_EQ(check->shortcut(), QKeySequence(Qt::Key_F9));
    check->trigger();
    QWidget* view = nullptr;
    ASSERT_TRUE(
        waitUntil([&] { return (view = form->findChild<QWidget*>(QStringLiteral("LocalCheckWindow"))); }));

    EXPECT_EQ(colourAt(kCopied), marks::kCopied);
    EXPECT_EQ(colourAt(kCited), marks::kCited);
    EXPECT_EQ(colourAt(QStringLiteral("我自己写的")), marks::kBlack);
    EXPECT_EQ(formatAt(kCopied).background().color(), band) << "both results can be seen together";

    const QString figures = child<QLabel>(view, "localFigures")->text();
    const int articleChars = editor()->text().size();
    const auto share = [&](int chars) { return sources::percentText(double(chars) / articleChars); };
    EXPECT_TRUE(figures.contains(QStringLiteral("总文字复制比：") + share(kCopied.size() + kCited.size())))
        << figures.toStdString();
    EXPECT_TRUE(figures.contains(QStringLiteral("去除引用文献复制比：") + share(kCopied.size())));
    auto* sourcesTable = child<QTableWidget>(view, "localSources");
    ASSERT_EQ(sourcesTable->rowCount(), 1);
    EXPECT_EQ(sourcesTable->item(0, 0)->text(), QStringLiteral("论文"));
    // A click on the source puts its passages beside their place in the source.
    sourcesTable->setCurrentCell(0, 0);
    auto* passages = child<QTableWidget>(view, "localPassages");
    ASSERT_EQ(passages->rowCount(), 2);
    EXPECT_TRUE(passages->item(0, 1)->text().startsWith(QStringLiteral("第 1–%1 字").arg(kCopied.size())));
    EXPECT_GE(child<QTableWidget>(view, "localChapters")->rowCount(), 1);
}

// Adding runs in a thread of its own; the window then tells what was read, skipped and why a file was not.
TEST_F(SourcesWindow, AddingAFolderTellsEachOutcomeAndFillsTheLibrary)
{
    const QString folder = dir.filePath(QStringLiteral("新来源"));
    QDir().mkpath(folder + QStringLiteral("/sub"));
    auto write = [](const QString& path, const QString& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    };
    write(folder + QStringLiteral("/a.txt"), kCopied + kCopied);
    write(folder + QStringLiteral("/sub/b.txt"), kCited + kCopied);
    write(folder + QStringLiteral("/sub/empty.txt"), QStringLiteral("　\n"));
    MessageBoxRecorder boxes;
    auto* commands = form->findChild<SourcesCommands*>();
    ASSERT_TRUE(commands);
    QSignalSpy done(commands, &SourcesCommands::addingFinished);
    commands->add({folder});
    ASSERT_TRUE(done.wait(20000));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(
        QStringLiteral("已读取 2 个文件，跳过 0 个（来源库中已有），1 个无法读取。")))
        << boxes.shown[0].text.toStdString();
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("empty.txt：文件中没有文字。")));
    EXPECT_EQ(sources::Library(library).entries().size(), 3);
}

} // namespace
