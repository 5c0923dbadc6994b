#include "sources/CommandLine.h"

#include "sources/LocalReport.h"
#include "sources/SourceAdding.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <algorithm>

namespace sources {
namespace {

const QString kUsage = QStringLiteral("用法：\n"
                                      "  tessaro-sources [--library 文件] add 路径...\n"
                                      "  tessaro-sources [--library 文件] list\n"
                                      "  tessaro-sources [--library 文件] remove 路径...\n"
                                      "  tessaro-sources [--library 文件] check 文章 [--json] [--min-run K]\n"
                                      "K 为本地比对的最短重复字数，%1 到 %2，默认 %3。\n");

int usage(QTextStream& err, const QString& why)
{
    err << why << u'\n' << kUsage.arg(kMinRun).arg(kMaxRun).arg(kDefaultRun);
    return kExitUsage;
}

QString percent(double ratio)
{
    return percentText(ratio);
}

// Code points before each UTF-16 offset of text (one past the end included).
QList<qint64> codePointOffsets(const QString& text)
{
    QList<qint64> out(text.size() + 1);
    qint64 n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        out[i] = n;
        n += !text[i].isLowSurrogate();
    }
    out[text.size()] = n;
    return out;
}

int add(Library& library, const QStringList& paths, QTextStream& out, QTextStream& err,
        const CommandOptions& options)
{
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path))
            err << QStringLiteral("失败：%1：文件或文件夹不存在。\n").arg(QDir::toNativeSeparators(path));
    }
    QStringList existing;
    for (const QString& path : paths) {
        if (QFileInfo::exists(path))
            existing.append(path);
    }
    SourceAdding adding(library, sourceFiles(existing), options.read);
    QEventLoop loop;
    QObject::connect(&adding, &SourceAdding::fileDone, &adding, [&](const AddedFile& file) {
        const QString path = QDir::toNativeSeparators(file.path);
        switch (file.outcome) {
        case AddedFile::Outcome::Read:
            out << QStringLiteral("已读取：%1（%2 字）\n").arg(path).arg(file.chars);
            break;
        case AddedFile::Outcome::Unchanged:
            out << QStringLiteral("已跳过（来源库中已有，未改变）：%1\n").arg(path);
            break;
        case AddedFile::Outcome::SameContent:
            out << QStringLiteral("已跳过（与来源库中的另一文件内容相同）：%1\n").arg(path);
            break;
        case AddedFile::Outcome::Failed:
            out << QStringLiteral("失败：%1：%2\n").arg(path, file.reason);
            break;
        }
        out.flush();
    });
    QObject::connect(&adding, &SourceAdding::finished, &loop, &QEventLoop::quit);
    adding.start();
    loop.exec();
    return kExitDone;
}

int list(Library& library, QTextStream& out)
{
    for (const LibraryEntry& entry : library.entries()) {
        for (const QString& path : entry.paths)
            out << QStringLiteral("%1\t%2\t%3 字\n")
                       .arg(QDir::toNativeSeparators(path), entry.title)
                       .arg(entry.chars);
    }
    return kExitDone;
}

int remove(Library& library, const QStringList& paths, QTextStream& out, QTextStream& err)
{
    QStringList kept;
    for (const LibraryEntry& entry : library.entries())
        kept += entry.paths;
    for (const QString& given : paths) {
        const QString path = QFileInfo(given).absoluteFilePath();
        // A folder removes everything added from inside it.
        const QString folder = path + u'/';
        bool any = false;
        for (const QString& k : std::as_const(kept)) {
            if ((k == path || k.startsWith(folder)) && library.remove(k)) {
                out << QStringLiteral("已移除：%1\n").arg(QDir::toNativeSeparators(k));
                any = true;
            }
        }
        if (!any)
            err << QStringLiteral("不在来源库中：%1\n").arg(QDir::toNativeSeparators(path));
    }
    return kExitDone;
}

int check(Library& library, const QString& articlePath, bool json, int run, QTextStream& out,
          QTextStream& err, const CommandOptions& options)
{
    const QString path = QFileInfo(articlePath).absoluteFilePath();
    const ReadText article = readDocument(path, options.read);
    if (!article.failure.isEmpty()) {
        err << article.failure << u'\n';
        return kExitUnreadable;
    }
    SourceIndex index;
    if (!library.loadIndex(index)) {
        err << library.error() << u'\n';
        return kExitUnreadable;
    }
    // Each source's text is read once: the check and the offsets of its passages both need it.
    QHash<qint64, QString> texts;
    const SourceTexts textOf = [&library, &texts](qint64 id) {
        auto it = texts.find(id);
        return it != texts.end() ? *it : *texts.insert(id, library.text(id));
    };
    const CheckResult result = sources::check(article.text, index, textOf, {run});
    QHash<qint64, QString> paths;
    QHash<qint64, QString> titles;
    for (const LibraryEntry& entry : library.entries()) {
        paths.insert(entry.id, entry.paths.value(0));
        titles.insert(entry.id, entry.title);
    }
    if (json) {
        out << QString::fromUtf8(checkJson(path, article.text, result, paths, textOf)) << u'\n';
        return kExitDone;
    }
    out << QStringLiteral("文章：%1（%2 字）\n").arg(QDir::toNativeSeparators(path)).arg(result.articleChars);
    for (const QString& line : figureLines(result))
        out << line << u'\n';
    out << QStringLiteral("来源（%1 篇）：\n").arg(result.sources.size());
    for (const SourceFigure& s : result.sources)
        out << QStringLiteral("  %1\t%2 字\t%3\t%4\n")
                   .arg(percent(s.ratio))
                   .arg(s.chars)
                   .arg(titles.value(s.source), QDir::toNativeSeparators(paths.value(s.source)));
    out << QStringLiteral("各章节：\n");
    for (const ChapterFigure& c : result.chapters)
        out << QStringLiteral("  %1\t%2 字\t%3\n")
                   .arg(c.title.isEmpty() ? QStringLiteral("（正文）") : c.title)
                   .arg(c.chars)
                   .arg(percent(c.ratio));
    return kExitDone;
}

} // namespace

QByteArray checkJson(const QString& articlePath, const QString& article, const CheckResult& result,
                     const QHash<qint64, QString>& sourcePaths, const SourceTexts& sourceTexts)
{
    // Written by hand to keep the keys in the documented order.
    auto string = [](const QString& s) {
        const QByteArray array = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
        return array.mid(1, array.size() - 2);
    };
    auto number = [](double x) { return QByteArray::number(x, 'g', 17); };
    const QList<qint64> at = codePointOffsets(article);
    QByteArray out = "{\"article\": {\"path\": " + string(articlePath) +
                     ", \"chars\": " + QByteArray::number(result.articleChars) +
                     "}, \"copied_chars\": " + QByteArray::number(result.copiedChars) +
                     ", \"cited_chars\": " + QByteArray::number(result.citedChars) +
                     ", \"ratio\": " + number(result.ratio) +
                     ", \"ratio_without_cited\": " + number(result.ratioWithoutCited) +
                     ", \"largest_source_ratio\": " + number(result.largestSourceRatio) + ", \"sources\": [";
    for (qsizetype i = 0; i < result.sources.size(); ++i) {
        const SourceFigure& s = result.sources[i];
        out += (i ? ", " : "") + QByteArray("{\"path\": ") + string(sourcePaths.value(s.source)) +
               ", \"chars\": " + QByteArray::number(s.chars) + ", \"ratio\": " + number(s.ratio) + "}";
    }
    out += "], \"passages\": [";
    QHash<qint64, QList<qint64>> sourceAt; // made once per source that has passages
    for (qsizetype i = 0; i < result.passages.size(); ++i) {
        const Passage& p = result.passages[i];
        auto offsets = sourceAt.find(p.source);
        if (offsets == sourceAt.end())
            offsets = sourceAt.insert(p.source, codePointOffsets(sourceTexts(p.source)));
        auto inSource = [&offsets](qsizetype o) { return o < offsets->size() ? offsets->at(o) : qint64(o); };
        out += (i ? ", " : "") + QByteArray("{\"start\": ") + QByteArray::number(at[p.start]) +
               ", \"end\": " + QByteArray::number(at[p.end]) +
               ", \"source\": " + string(sourcePaths.value(p.source)) +
               ", \"source_start\": " + QByteArray::number(inSource(p.sourceStart)) +
               ", \"source_end\": " + QByteArray::number(inSource(p.sourceEnd)) +
               ", \"cited\": " + (p.cited ? "true" : "false") + "}";
    }
    out += "]}";
    return out;
}

namespace {

// A command line taken apart; error, when not empty, says what is wrong with it.
struct ParsedCommand
{
    QString library;
    QString command;
    QStringList operands;
    bool json = false;
    int run = kDefaultRun;
    QString error;
};

// The options and the article of check.
void parseCheck(const QStringList& args, ParsedCommand& c)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--json")) {
            c.json = true;
        } else if (args[i] == QStringLiteral("--min-run")) {
            bool ok = false;
            c.run = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || c.run < kMinRun || c.run > kMaxRun) {
                c.error = QStringLiteral("--min-run 须为 %1 到 %2 之间的整数。").arg(kMinRun).arg(kMaxRun);
                return;
            }
        } else {
            c.operands.append(args[i]);
        }
    }
    if (c.operands.size() != 1)
        c.error = QStringLiteral("check 需要且只需要一篇文章。");
}

ParsedCommand parseCommand(QStringList args, const QString& library)
{
    ParsedCommand c;
    c.library = library;
    if (!args.isEmpty() && args.front() == QStringLiteral("--library")) {
        if (args.size() < 2) {
            c.error = QStringLiteral("--library 后缺少来源库文件。");
            return c;
        }
        c.library = QFileInfo(args[1]).absoluteFilePath();
        args = args.mid(2);
    }
    if (args.isEmpty()) {
        c.error = QStringLiteral("缺少命令。");
        return c;
    }
    c.command = args.takeFirst();
    if (c.command == QStringLiteral("check")) {
        parseCheck(args, c);
    } else if (c.command == QStringLiteral("add") || c.command == QStringLiteral("remove")) {
        c.operands = args;
        if (c.operands.isEmpty())
            c.error = QStringLiteral("%1 需要至少一个路径。").arg(c.command);
    } else if (c.command == QStringLiteral("list")) {
        if (!args.isEmpty())
            c.error = QStringLiteral("list 不接受参数。");
    } else {
        c.error = QStringLiteral("未知的命令：%1").arg(c.command);
    }
    return c;
}

} // namespace

int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
               const CommandOptions& options)
{
    const ParsedCommand c = parseCommand(arguments, options.library);
    if (!c.error.isEmpty())
        return usage(err, c.error);
    if (c.command != QStringLiteral("add") && !QFileInfo::exists(c.library)) {
        if (c.command == QStringLiteral("list"))
            return kExitDone; // nothing added yet
        err << QStringLiteral("来源库文件“%1”不存在，请先用 add 添加来源。\n")
                   .arg(QDir::toNativeSeparators(c.library));
        return kExitUnreadable;
    }
    Library library(c.library);
    if (!library.open()) {
        err << library.error() << u'\n';
        return kExitUnreadable;
    }
    if (const QString notice = library.takeNotice(); !notice.isEmpty())
        err << notice << u'\n';
    if (c.command == QStringLiteral("add"))
        return add(library, c.operands, out, err, options);
    if (c.command == QStringLiteral("list"))
        return list(library, out);
    if (c.command == QStringLiteral("remove"))
        return remove(library, c.operands, out, err);
    return check(library, c.operands.front(), c.json, c.run, out, err, options);
}

} // namespace sources
