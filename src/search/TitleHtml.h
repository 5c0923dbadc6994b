#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Reading the markup of a result title as a browser reads it: where a tag ends and what an attribute
// holds. The one reader for the scoring, which finds the titles of a page, and for the report, which
// shows them.
namespace search {

// Where the tag that starts at lt ('<') ends: the index of the first '>' outside a quoted attribute
// value; -1 when the tag never ends.
qsizetype tagEnd(QStringView html, qsizetype lt);

// The value of the attribute name (any case) in a start tag's text (between '<' and '>'); nullopt
// when the tag has no such attribute, an empty string for one without a value.
std::optional<QString> attribute(QStringView tag, QStringView name);

} // namespace search
