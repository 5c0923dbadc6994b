#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Text files as Chinese Windows and other systems write them: a byte-order mark decides (UTF-8,
// UTF-16 LE or BE); otherwise valid UTF-8 is UTF-8; otherwise the bytes are GBK (code page 936).
namespace textfile {

// The text with every line break (CR LF, LF, CR) as '\n'. Nothing when the bytes are not text: a NUL,
// or more control characters than text has (one in twenty).
std::optional<QString> decode(const QByteArray& bytes);

// Whether decoded text looks like text rather than binary data.
bool looksLikeText(const QString& text);

} // namespace textfile
