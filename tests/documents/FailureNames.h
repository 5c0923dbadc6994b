#pragma once

#include "documents/Loading.h"

#include <QString>

// A failure by its name in the code, for the tables of the loading tests.
inline QString failureName(documents::Failure failure)
{
    using documents::Failure;
    switch (failure) {
    case Failure::Missing:
        return QStringLiteral("Missing");
    case Failure::Unreadable:
        return QStringLiteral("Unreadable");
    case Failure::TooLarge:
        return QStringLiteral("TooLarge");
    case Failure::NotText:
        return QStringLiteral("NotText");
    case Failure::Encrypted:
        return QStringLiteral("Encrypted");
    case Failure::WordProcessorMissing:
        return QStringLiteral("WordProcessorMissing");
    case Failure::WordProcessorTimedOut:
        return QStringLiteral("WordProcessorTimedOut");
    case Failure::WordProcessorFailed:
        return QStringLiteral("WordProcessorFailed");
    case Failure::Cancelled:
        return QStringLiteral("Cancelled");
    case Failure::Overexpanded:
        return QStringLiteral("Overexpanded");
    case Failure::EmptyDocument:
        return QStringLiteral("EmptyDocument");
    case Failure::NotAContainer:
        return QStringLiteral("NotAContainer");
    case Failure::Damaged:
        return QStringLiteral("Damaged");
    case Failure::NoTextLayer:
        return QStringLiteral("NoTextLayer");
    case Failure::TimeLimit:
        return QStringLiteral("TimeLimit");
    case Failure::MemoryLimit:
        return QStringLiteral("MemoryLimit");
    case Failure::ReaderMissing:
        return QStringLiteral("ReaderMissing");
    }
    return QStringLiteral("?");
}

// A read as the loading tests' tables put it: "text <text>" (long texts by their length), "rich
// <paragraphs joined by |>", "word processor" when the word processor was asked, or the failure's name.
inline QString describe(const documents::Read& read, bool wordProcessorAsked = false)
{
    if (const QString* text = std::get_if<QString>(&read))
        return text->size() > 100000 ? QStringLiteral("text of %1 characters").arg(text->size())
                                     : QStringLiteral("text ") + *text;
    if (wordProcessorAsked)
        return QStringLiteral("word processor");
    if (const richtext::Document* doc = std::get_if<richtext::Document>(&read))
        return QStringLiteral("rich ") + doc->text(QStringLiteral("|"));
    return failureName(std::get<documents::Failure>(read));
}
