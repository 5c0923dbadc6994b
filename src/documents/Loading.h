#pragma once

#include "documents/RichText.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <variant>

// A chosen file turned into a document, or the reason it could not be.
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

// Which readers a word-processor document may go to.
enum class Readers {
    NativeFirst,       // .docx and .odt read here; what these readers cannot handle, the word processor
    WordProcessorOnly, // every word-processor document through the word processor
};

// The word processor's plain text of the document at path, or its failure. An outside program, so
// the caller supplies it.
using WordProcessor = std::function<Read(const QString& path)>;

struct ReadOptions
{
    Readers readers = Readers::NativeFirst;
    WordProcessor wordProcessor; // none: a file that needs it fails as WordProcessorMissing
};

// Set from any thread to stop a read; the readers look at it as they go.
using CancelFlag = std::atomic<bool>;

// Why the file at path cannot be opened at all (missing, not a readable file, over the size limit);
// nothing when it may be read.
std::optional<Failure> fileFailure(const QString& path);

// Reads the file at path once and hands it to the reader its name and content call for (see kindOf):
// the program's own readers, or options.wordProcessor for .doc, .wps and what the native readers
// cannot handle. Failure::Cancelled once cancel is set.
Read read(const QString& path, const ReadOptions& options = {}, const CancelFlag* cancel = nullptr);

// The message that tells the user why the file at path did not open; empty for a cancelled read,
// which the user asked for. wordProcessorLimit: the time limit the word processor had.
QString openFailureMessage(const QString& path, Failure failure,
                           std::chrono::milliseconds wordProcessorLimit = std::chrono::milliseconds(0));

} // namespace documents
