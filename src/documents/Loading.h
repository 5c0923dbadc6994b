#pragma once

#include "documents/RichText.h"

#include <QString>

#include <functional>
#include <optional>
#include <variant>

// A chosen file turned into a document, or the reason it could not be.
namespace documents {

enum class Failure {
    Missing,             // nothing at the path
    Unreadable,          // not a file (a folder), or it cannot be opened or read
    TooLarge,            // more than kMaxFileBytes
    NotText,             // neither rich text nor a word-processor document, and its bytes are not text
    WordProcessorFailed, // the word processor gave no text
};

// Plain text (paragraphs joined by '\n'), rich text, or why neither.
using Loaded = std::variant<QString, richtext::Document, Failure>;

// The plain text of a word-processor document, or nothing when it could not be read. The caller
// supplies it: the word processor is an outside program.
using WordProcessorRead = std::function<std::optional<QString>(const QString& path)>;

// Reads the file at path and hands it to the reader its name and content call for (see kindOf).
Loaded load(const QString& path, const WordProcessorRead& wordProcessor);

} // namespace documents
