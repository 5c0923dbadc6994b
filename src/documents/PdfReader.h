#pragma once

#include "documents/ExpansionBudget.h"
#include "documents/Read.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <variant>

// The text layer of a PDF file, through Poppler.
namespace pdf {

// More characters than a hundred theses: a file that yields more is refused, not shown.
inline constexpr qsizetype kMaxCharacters = documents::ExpansionBudget::kMaxCharacters;
// More pages than any thesis: a small file can name the same page a million times.
inline constexpr int kMaxPages = 20'000;

// The text in reading order, one paragraph per paragraph (joined by '\n') whatever page and line
// breaks part it, without the headers, footers and page numbers that stand at the same place on most
// pages; a contents page one line a line, a Latin word hyphenated at a line's end joined, a note's
// reference (a number set small and raised) as "[1]", and the footnotes after the body, in order,
// each beginning with its number. Failure::Encrypted for a
// password, NoTextLayer for pages without text (a scan), Damaged for what Poppler cannot open,
// Overexpanded beyond maxCharacters or maxPages, Cancelled once cancel is set (seen between pages and
// words: Poppler itself cannot be interrupted within a page).
std::variant<QString, documents::Failure> read(const QByteArray& bytes,
                                               qsizetype maxCharacters = kMaxCharacters,
                                               int maxPages = kMaxPages,
                                               const std::atomic<bool>* cancel = nullptr);

} // namespace pdf
