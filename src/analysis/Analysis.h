#pragma once

#include "analysis/SentencePlace.h"

#include <QList>
#include <QString>
#include <QStringList>

// Cutting the article into the sentences ("句") that the online check searches one by one.
namespace analysis {

inline constexpr qsizetype kSentenceLength = 38;
inline const QString kPieceMarker = QStringLiteral("|@|");

struct Result
{
    QString articleText;     // normalised: no line breaks, no ASCII spaces
    QStringList sentences;   // consecutive pieces of at most kSentenceLength characters
    qsizetype charCount = 0; // characters of articleText that code page 936 encodes in two bytes
    // Set by the cutting by sentence, empty otherwise: what each sentence is searched with (itself
    // without citation markers), and where it stands in the editor's text.
    QStringList searchTexts;
    QList<Place> places;
};

// Marks sentence ends, strips white space before line breaks, drops blank lines and removes line
// breaks and ASCII spaces. editorText separates lines with CR LF.
QString normalise(const QString& editorText);

// The pieces of 38 characters, the last one shorter; a "|@|" in the text splits a piece there.
QStringList cut(const QString& articleText);

Result analyse(const QString& editorText);

// "本文共 N 字，本次分析共分析出 M 句，请多次点击进行对比！"
QString reportLine(qsizetype charCount, qsizetype sentenceCount);

// List1 entry for sentence index k: "k+1-" and the trimmed sentence.
QString listEntry(qsizetype index, const QString& sentence);

} // namespace analysis
