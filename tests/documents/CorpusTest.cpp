// The native .docx and .odt readers against LibreOffice's text of real documents.
#include "documents/DocxReader.h"
#include "documents/ExpansionBudget.h"
#include "documents/Loading.h"
#include "documents/OdtReader.h"
#include "documents/ZipArchive.h"
#include "support/QtPrinters.h"

#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <iostream>

namespace {

// Line ends, no-break spaces and trailing blanks aside, as the corpus compares.
QString normalised(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar(0xA0), u' ');
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        while (!line.isEmpty() && (line.back() == u' ' || line.back() == u'\t'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

QString fileText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Files whose LibreOffice text holds the date it was made: no reader can give that again.
QStringList datedFiles(const QDir& dir)
{
    QStringList names;
    for (const QString& line : fileText(dir.filePath(QStringLiteral("index.tsv"))).split(u'\n')) {
        if (line.contains(QStringLiteral("lo-text-has-run-date")))
            names.append(line.section(u'\t', 0, 0));
    }
    return names;
}

// With TESSARO_CORPUS_DUMP naming a folder, each file's text goes there for a side-by-side look.
void dump(const QString& name, const QString& text)
{
    const QString folder = qEnvironmentVariable("TESSARO_CORPUS_DUMP");
    QFile f(QDir(folder).filePath(name + QStringLiteral(".txt")));
    if (!folder.isEmpty() && f.open(QIODevice::WriteOnly))
        f.write(text.toUtf8());
}

// The line where two texts part, for the report.
QString firstDifference(const QString& ours, const QString& theirs)
{
    const QStringList a = ours.split(u'\n'), b = theirs.split(u'\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString x = i < a.size() ? a[i] : QStringLiteral("<end>");
        const QString y = i < b.size() ? b[i] : QStringLiteral("<end>");
        if (x != y)
            return QStringLiteral("line %1: ours \"%2\" LibreOffice \"%3\"").arg(i + 1).arg(x.left(80), y.left(80));
    }
    return QString();
}

// The share of documents that must read as LibreOffice reads them, per format: measured 69 of 94
// .docx and 27 of 35 .odt, rounded down. Most of the rest is LibreOffice's own: it prints tracked
// deletions, hidden text and soft hyphens, and starts a document that opens with a table with a blank line.
struct CorpusRow
{
    const char* suffix;
    double share;
};

void PrintTo(const CorpusRow& row, std::ostream* os)
{
    *os << row.suffix;
}

class Corpus : public ::testing::TestWithParam<CorpusRow>
{
};

TEST_P(Corpus, NativeTextEqualsLibreOffice)
{
    const QDir dir(corpus::folder());
    if (!dir.exists())
        GTEST_SKIP() << "no corpus at " << corpus::folder().toStdString();
    const QStringList dated = datedFiles(dir);
    int total = 0, equal = 0;
    for (const QString& name : dir.entryList({QStringLiteral("*.") + QLatin1String(GetParam().suffix)}, QDir::Files)) {
        if (dated.contains(name) || !dir.exists(name + QStringLiteral(".lo.txt")))
            continue;
        ++total;
        const documents::Read step = documents::read(dir.filePath(name));
        const QString theirs = normalised(fileText(dir.filePath(name + QStringLiteral(".lo.txt"))));
        if (const QString* text = std::get_if<QString>(&step)) {
            // LibreOffice leaves notes out, and most text boxes: the body alone is compared, with and
            // without the boxes.
            QFile file(dir.filePath(name));
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            const documents::ZipArchive archive(bytes);
            const auto body = [&](documents::TextBoxes boxes) {
                documents::ExpansionBudget budget;
                const std::optional<documents::TextParts> parts =
                    GetParam().suffix == std::string("docx") ? docx::readParts(archive, budget, boxes)
                                                              : odt::readParts(archive, budget, boxes);
                return parts ? normalised(parts->body) : QString();
            };
            // A file of the name that is no container at all is read as text.
            const QString ours = archive.isOpen() ? body(documents::TextBoxes::Read) : normalised(*text);
            dump(name, ours);
            if (ours == theirs || body(documents::TextBoxes::LeftOut) == theirs)
                ++equal;
            else
                std::cout << "  differs: " << name.toStdString() << ": "
                          << firstDifference(ours, theirs).toStdString() << '\n';
        } else {
            std::cout << "  not read natively: " << name.toStdString() << '\n';
        }
    }
    std::cout << GetParam().suffix << ": " << equal << " of " << total << " equal LibreOffice's text\n";
    ASSERT_GT(total, 0);
    EXPECT_GE(static_cast<double>(equal) / total, GetParam().share);
}

INSTANTIATE_TEST_SUITE_P(Documents, Corpus, ::testing::Values(CorpusRow{"docx", 0.73}, CorpusRow{"odt", 0.77}),
                         [](const auto& info) { return std::string(info.param.suffix); });

} // namespace
