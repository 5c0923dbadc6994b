#include "editor/LineBreaking.h"

#include <algorithm>

namespace editor {
namespace {

// A place after which word wrapping may break: white space, a hyphen or slash, or a character of the
// scripts that break between any two characters (from CJK radicals on: Chinese, Japanese, Korean,
// their punctuation and the full-width forms).
bool allowsBreakAfter(QChar c)
{
    const char16_t u = c.unicode();
    return c.isSpace() || u == u'-' || u == u'/' || u >= 0x2E80;
}

} // namespace

qsizetype longestUnbrokenStretch(QStringView text)
{
    qsizetype longest = 0;
    qsizetype current = 0;
    for (const QChar c : text) {
        if (allowsBreakAfter(c)) {
            current = 0;
        } else {
            longest = std::max(longest, ++current);
        }
    }
    return longest;
}

bool wrapsAnywhere(QStringView text)
{
    return longestUnbrokenStretch(text) > kMaxUnbrokenStretch;
}

} // namespace editor
