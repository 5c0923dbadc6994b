// tessaro-sources as a user runs it: a folder of every format the program reads, then an article.
#include "TestData.h"
#include "documents/HostileDocuments.h"
#include "documents/PdfFixture.h"
#include "documents/RtfWriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Outcome
{
    int status;
    QString out;
    QString err;
};

Outcome run(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(TESSARO_SOURCES_PATH), arguments);
    p.waitForFinished(180'000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QString kTxt = QStringLiteral("深度学习模型需要大量标注数据才能达到较高的识别准确率");
const QString kRtf = QStringLiteral("卷积神经网络能够自动提取图像的局部特征从而提高分类效果");
const QString kPdf = QStringLiteral("循环神经网络适合处理具有时间顺序的序列数据如语音和文本");
const QString kDocx = QStringLiteral("注意力机制使模型能够关注输入序列中与当前输出最相关的部分");
// The text of tests/data/libreoffice.doc, read through the word processor.
const QString kDoc = QStringLiteral("text 论文第一段：中文、English 123。\n第二段……“引号”《书名》");

TEST(SourcesCommand, AddsAFolderOfEveryFormatThenChecksAnArticle)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("来源"));
    write(folder + QStringLiteral("/a.txt"), kTxt.toUtf8());
    richtext::Document rich;
    rich.paragraphs.append({{{kRtf, {}}}});
    write(folder + QStringLiteral("/b.rtf"), rtf::write(rich));
    write(folder + QStringLiteral("/sub/c.pdf"), pdffixture::make({{pdffixture::Line{72, 100, 12, kPdf}}}));
    write(folder + QStringLiteral("/sub/d.docx"),
          hostile::docx("<w:p><w:r><w:t>" + kDocx.toUtf8() + "</w:t></w:r></w:p>"));
    write(folder + QStringLiteral("/sub/e.doc"), testdata::bytes("libreoffice.doc"));
    write(folder + QStringLiteral("/sub/copy-of-a.txt"), kTxt.toUtf8());
    write(folder + QStringLiteral("/sub/locked.docx"), QByteArray("PK\x03\x04 not a container"));
    write(folder + QStringLiteral("/notes.md"), kTxt.toUtf8()); // not a kind the program opens

    const QString library = dir.filePath(QStringLiteral("lib.sqlite"));
    const Outcome added = run({QStringLiteral("--library"), library, QStringLiteral("add"), folder});
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_EQ(added.out.count(QStringLiteral("已读取：")), 5) << added.out.toStdString();
    EXPECT_EQ(added.out.count(QStringLiteral("已跳过")), 1);
    EXPECT_EQ(added.out.count(QStringLiteral("失败：")), 1);
    EXPECT_FALSE(added.out.contains(QStringLiteral("notes.md")));
    const Outcome again = run({QStringLiteral("--library"), library, QStringLiteral("add"), folder});
    EXPECT_EQ(again.out.count(QStringLiteral("已跳过（来源库中已有，未改变）")), 6) << "nothing read twice";

    // Copied: the text file's and the PDF's; quoted and cited: the RTF's; the .doc's and the .docx's too.
    const QString article = QStringLiteral("第1章 绪论\n我的开头。") + kTxt + QStringLiteral("。然后") +
                            kPdf + QStringLiteral("。\n他指出：“") + kRtf + QStringLiteral("”[1]。\n") +
                            kDoc + QStringLiteral("\n𠀀") + kDocx +
                            QStringLiteral("\n参考文献\n[1] 张三. 图像[J]. 2019.\n");
    const QString articlePath = dir.filePath(QStringLiteral("文章.txt"));
    write(articlePath, article.toUtf8());
    const Outcome checked = run({QStringLiteral("--library"), library, QStringLiteral("check"), articlePath,
                                 QStringLiteral("--json")});
    ASSERT_EQ(checked.status, 0) << checked.err.toStdString();
    ASSERT_EQ(checked.out.count(u'\n'), 1) << "one JSON object";
    const QJsonObject json = QJsonDocument::fromJson(checked.out.toUtf8()).object();
    const QList<uint> codePoints = article.toUcs4();
    EXPECT_EQ(json[QStringLiteral("article")][QStringLiteral("chars")].toInt(), codePoints.size());
    QStringList copied;
    QStringList cited;
    for (const QJsonValue& v : json[QStringLiteral("passages")].toArray()) {
        const QJsonObject p = v.toObject();
        const QList<uint> span =
            codePoints.mid(p[QStringLiteral("start")].toInt(),
                           p[QStringLiteral("end")].toInt() - p[QStringLiteral("start")].toInt());
        const QString text =
            QString::fromUcs4(reinterpret_cast<const char32_t*>(span.constData()), span.size());
        (p[QStringLiteral("cited")].toBool() ? cited : copied).append(text);
        EXPECT_TRUE(p[QStringLiteral("source")].toString().startsWith(folder));
    }
    EXPECT_EQ(cited, QStringList{kRtf});
    EXPECT_TRUE(copied.contains(kTxt)) << copied.join(u'|').toStdString();
    EXPECT_TRUE(copied.contains(kPdf));
    EXPECT_TRUE(copied.contains(kDocx)) << "offsets in code points after a character beyond the BMP";
    EXPECT_EQ(copied.size(), 4);
    EXPECT_EQ(json[QStringLiteral("cited_chars")].toInt(), kRtf.size());
    EXPECT_EQ(json[QStringLiteral("sources")].toArray().size(), 5);

    const Outcome summary = run({QStringLiteral("--library"), library, QStringLiteral("check"), articlePath});
    EXPECT_TRUE(summary.out.contains(QStringLiteral("去除引用文献复制比：")));

    const Outcome removed = run(
        {QStringLiteral("--library"), library, QStringLiteral("remove"), folder + QStringLiteral("/sub")});
    EXPECT_EQ(removed.out.count(QStringLiteral("已移除：")), 4);
    EXPECT_EQ(run({QStringLiteral("--library"), library, QStringLiteral("list")}).out.count(u'\n'), 2);
}

TEST(SourcesCommand, ExitStatuses)
{
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("lib.sqlite"));
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({QStringLiteral("--library"), library, QStringLiteral("check")}).status, 2);
    EXPECT_EQ(run({QStringLiteral("--library"), library, QStringLiteral("frobnicate")}).status, 2);
    write(dir.filePath(QStringLiteral("a.txt")), kTxt.toUtf8());
    EXPECT_EQ(run({QStringLiteral("--library"), library, QStringLiteral("add"),
                   dir.filePath(QStringLiteral("a.txt"))})
                  .status,
              0);
    EXPECT_EQ(run({QStringLiteral("--library"), library, QStringLiteral("check"),
                   dir.filePath(QStringLiteral("a.txt")), QStringLiteral("--min-run"), QStringLiteral("21")})
                  .status,
              2);
    const Outcome missing = run({QStringLiteral("--library"), library, QStringLiteral("check"),
                                 dir.filePath(QStringLiteral("none.txt"))});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("none.txt")));
    const Outcome noLibrary = run({QStringLiteral("--library"), dir.filePath(QStringLiteral("none.sqlite")),
                                   QStringLiteral("check"), dir.filePath(QStringLiteral("a.txt"))});
    EXPECT_EQ(noLibrary.status, 1);
    EXPECT_TRUE(noLibrary.err.contains(QStringLiteral("none.sqlite")));
}

} // namespace
