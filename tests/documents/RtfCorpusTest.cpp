// The RTF reader against LibreOffice on rich-text files from other projects' test suites.
#include "documents/RtfReader.h"
#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The shares measured, which must hold.
constexpr double kSameShare = 0.56; // 76 of 135 (75 before the reader kept deep text and dropped controls)
constexpr double kSameIgnoringSpaceShare = 0.76; // 103 of 135 (100 before)

// Line ends, no-break spaces (LibreOffice keeps them, the editor's plain text has spaces), blanks at
// line ends and empty lines at the end made alike.
QString normalised(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar(0x2028), u'\n');
    text.replace(QChar(0x00A0), u' ');
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

QString withoutWhiteSpace(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (!c.isSpace())
            out += c;
    }
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(RtfCorpus, TextAsLibreOfficeReadsIt)
{
    const QString corpus = testdata::corpusDir();
    if (corpus.isEmpty())
        GTEST_SKIP() << "no corpus beside the repository";
    const QDir dir(corpus + QStringLiteral("/rtf"));
    const QStringList files = dir.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    int same = 0;
    int sameIgnoringSpace = 0;
    int controls = 0;
    for (const QString& name : files) {
        const std::optional<richtext::Document> doc = rtf::read(readAll(dir.filePath(name)));
        const QString expected = normalised(QString::fromUtf8(readAll(dir.filePath(name + QStringLiteral(".lo.txt")))));
        const QString got = doc ? normalised(doc->text(QStringLiteral("\n"))) : QString();
        if (got.contains(QRegularExpression(QStringLiteral("[\\x00-\\x08\\x0B-\\x1F]"))))
            ++controls;
        if (got == expected)
            ++same;
        if (withoutWhiteSpace(got) == withoutWhiteSpace(expected))
            ++sameIgnoringSpace;
        else
            std::cout << "differs: " << name.toStdString() << '\n';
    }
    const double n = files.size();
    std::cout << files.size() << " files: " << same << " same text (" << 100 * same / n << " %), "
              << sameIgnoringSpace << " same ignoring white space (" << 100 * sameIgnoringSpace / n << " %)\n";
    EXPECT_EQ(controls, 0) << "files whose text holds C0 control characters";
    EXPECT_GE(same / n, kSameShare);
    EXPECT_GE(sameIgnoringSpace / n, kSameIgnoringSpaceShare);
}

} // namespace
