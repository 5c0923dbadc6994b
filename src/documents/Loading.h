#pragma once

#include "documents/Read.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <variant>

// A chosen file turned into a document, or the reason it could not be.
namespace documents {

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
