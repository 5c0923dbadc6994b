#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Where the article's paragraphs end, so that both forms of the report keep the writer's paragraphs.
namespace report {

// The paragraph ends of editorText (lines separated by CR LF) as offsets into sentences joined, when
// articleText is editorText normalised and sentences are the analysis of it; empty when the editor's
// text is no longer the one analysed.
QList<qsizetype> paragraphEnds(const QString& editorText, const QString& articleText,
                               const QStringList& sentences);

} // namespace report
