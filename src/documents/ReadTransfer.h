#pragma once

#include "documents/Loading.h"

#include <QByteArray>

#include <optional>

// A read handed from the process that made it to the one that shows it.
namespace documents {

// What a reader process reports: its read, or that the file needs the word processor, which the
// program runs itself; read is then what a failure of the word processor means.
struct ReaderReport
{
    Read read;
    bool needsWordProcessor = false;
};

QByteArray serialise(const ReaderReport& report);
// Nothing for bytes that are not a whole report (a reader that died while writing).
std::optional<ReaderReport> deserialise(const QByteArray& bytes);

} // namespace documents
