#pragma once

#include "documents/RichText.h"

#include <QString>

#include <chrono>
#include <functional>
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
};

// Plain text (paragraphs joined by '\n'), rich text, or why neither.
using Loaded = std::variant<QString, richtext::Document, Failure>;

// What the word processor made of a document: its plain text or why not.
using WordProcessorResult = std::variant<QString, Failure>;

// The plain text of a word-processor document. The caller supplies it: the word processor is an
// outside program.
using WordProcessorRead = std::function<WordProcessorResult(const QString& path)>;

// Which readers a word-processor document may go to.
enum class Readers {
    NativeFirst,       // .docx and .odt read here; what these readers cannot handle, the word processor
    WordProcessorOnly, // every word-processor document through the word processor
};

// The file needs the word processor (.doc, .wps, and what the native readers cannot handle).
struct NeedsWordProcessor
{
};

using DirectReadOutcome = std::variant<QString, richtext::Document, Failure, NeedsWordProcessor>;

// Why the file at path cannot be opened at all (missing, not a readable file, over the size limit);
// nothing when it may be read.
std::optional<Failure> fileFailure(const QString& path);

// Reads the file at path and hands it to the reader its name and content call for (see kindOf),
// except that the word processor, a slow outside program, is left to the caller.
DirectReadOutcome readDirectly(const QString& path, Readers readers = Readers::NativeFirst);

// What the word processor's failure to read the file at path means: a locked Word 2007 document it
// could not open either is locked with a password of the user's (Failure::Encrypted).
Failure wordProcessorFailure(const QString& path, Failure failure);

// The whole load, waiting for the word processor where it is needed (without one, such a file fails
// as WordProcessorMissing).
Loaded load(const QString& path, const WordProcessorRead& wordProcessor, Readers readers = Readers::NativeFirst);

// The message that tells the user why the file at path did not open; empty for a cancelled read,
// which the user asked for. wordProcessorLimit: the time limit the word processor had.
QString openFailureMessage(const QString& path, Failure failure,
                           std::chrono::milliseconds wordProcessorLimit = std::chrono::milliseconds(0));

} // namespace documents
