#pragma once

#include "documents/RichText.h"

#include <QString>

#include <chrono>
#include <variant>

// What reading a document gives, whichever reader or process read it.
namespace documents {

enum class Failure {
    Missing,               // nothing at the path
    Unreadable,            // not a file (a folder), or it cannot be opened or read
    TooLarge,              // more than kMaxFileBytes
    NotText,               // neither rich text nor a word-processor document, and its bytes are not text
    Encrypted,             // a document locked with a password
    WordProcessorMissing,  // the word processor is needed but cannot be started
    WordProcessorTimedOut, // the word processor did not finish within its time limit
    WordProcessorFailed,   // the word processor gave no text
    Cancelled,             // the user ended the read
    Overexpanded,          // it unpacks or unfolds into more than any thesis (a ZIP bomb and the like)
    EmptyDocument,         // a .docx or .odt of 0 bytes
    NotAContainer,         // a .docx or .odt whose bytes are neither a ZIP container nor text
    Damaged,               // a PDF file that cannot be opened
    NoTextLayer,           // a PDF file without text: a scan
    TimeLimit,             // the read took longer than kReadTimeLimit
    MemoryLimit,           // the read needed more memory than kReadMemoryLimit
    ReaderMissing,         // the program's reader process cannot be started (an incomplete installation)
};

// What one read may take, in its own process, before it is stopped: no thesis comes near either.
inline constexpr std::chrono::seconds kReadTimeLimit{60};
inline constexpr qint64 kReadMemoryLimit = 2LL * 1024 * 1024 * 1024;

// What a read of a file gives: plain text (paragraphs joined by '\n'), rich text, or why neither.
using Read = std::variant<QString, richtext::Document, Failure>;

} // namespace documents
