// The printer's page decisions, read back from the PDF it makes: numbered pages, table headers on
// every page a table runs over, no heading alone at a page's foot, no empty last page.
#include "platform/PdfPrinter.h"

#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The text of each page, one string per page, its lines trimmed and blank ones dropped.
QList<QStringList> pageTexts(const QByteArray& pdf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!text.waitForFinished(30000))
        return {};
    QList<QStringList> pages;
    for (const QString& page : QString::fromUtf8(text.readAllStandardOutput()).split(u'\f')) {
        QStringList lines;
        for (const QString& line : page.split(u'\n')) {
            if (!line.trimmed().isEmpty())
                lines.append(line.trimmed());
        }
        if (!lines.isEmpty())
            pages.append(lines);
    }
    return pages;
}

TEST(PdfPrinter, NumbersPagesRepeatsHeadersKeepsHeadingsWithTheirText)
{
    printed::Document doc;
    doc.append(printed::textBlock(printed::Block::Kind::Title, QStringLiteral("标题")));
    printed::Block table;
    table.kind = printed::Block::Kind::Table;
    table.columnWidths = {3, 1};
    table.header = {printed::plainCell(QStringLiteral("列一")), printed::plainCell(QStringLiteral("列二"))};
    for (int i = 0; i < 150; ++i)
        table.rows.append(
            {{printed::plainCell(QStringLiteral("行%1").arg(i)), printed::plainCell(QStringLiteral("1"))},
             std::nullopt});
    doc.append(table);
    // Sections of many lengths, so that headings fall at every height of a page.
    for (int s = 0; s < 80; ++s) {
        doc.append(printed::textBlock(printed::Block::Kind::Heading, QStringLiteral("第%1节").arg(s)));
        doc.append(
            printed::textBlock(printed::Block::Kind::Paragraph, QString(20 + s * 37 % 400, QChar(u'字'))));
    }

    PdfPrinter printer;
    QByteArray pdf;
    QEventLoop loop;
    printer.print(doc, [&](const QByteArray& made) {
        pdf = made;
        loop.quit();
    });
    loop.exec();
    const QList<QStringList> pages = pageTexts(pdf);
    ASSERT_GT(pages.size(), 5);
    const QRegularExpression heading(QStringLiteral("^第\\d+节$"));
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QStringList& lines = pages[p];
        EXPECT_EQ(lines.last(), QStringLiteral("第 %1 页，共 %2 页").arg(p + 1).arg(pages.size()));
        ASSERT_GE(lines.size(), 2) << "page " << p + 1 << " holds nothing but its number";
        EXPECT_FALSE(heading.match(lines[lines.size() - 2]).hasMatch())
            << "page " << p + 1 << " ends with a heading";
        if (lines.filter(QRegularExpression(QStringLiteral("^行\\d+"))).size() > 0)
            EXPECT_FALSE(lines.filter(QRegularExpression(QStringLiteral("^列一"))).isEmpty())
                << "page " << p + 1 << " has rows without the header";
    }
}

} // namespace
