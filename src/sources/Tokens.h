#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Text as the matching sees it: one token per Han character and per Latin word or number, each with
// its place in the original text, so that a match maps back to exactly the characters it covers.
namespace sources {

// Latin words and numbers carry this bit, so that their values never meet a Han character's.
inline constexpr quint32 kWordBit = 0x80000000u;

struct Tokens
{
    QList<quint32> values; // a Han character's code point, or a word's hash with kWordBit
    QList<qint32> starts;  // UTF-16 offset of the token's first character in the original text
    QList<qint32> ends;    // UTF-16 offset just after the token's last character

    qsizetype size() const { return values.size(); }
};

// Tokens of text: Han characters one by one; a run of Latin letters or of digits one token (full-width
// forms folded to half-width, letters to lower case); punctuation, white space and note or citation
// markers ([3], [2-5], [1,4], superscript and circled numbers) dropped.
Tokens tokenise(QStringView text);
// The same into t, whose lists keep their capacity: for a loop over many texts.
void tokenise(QStringView text, Tokens& t);

} // namespace sources
