#include "text/Codepage936.h"

#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

#include <QStringList>

#include <algorithm>
#include <array>
#include <memory>

namespace text {
namespace {

// Table value for a unit the code page cannot encode; 0xFFFF is no valid GBK byte pair (trail 0xFF).
constexpr std::uint16_t kUnencodable = 0xFFFF;

struct GbkTable
{
    // Single-byte values are below 0x100, double-byte values are lead << 8 | trail with lead >= 0x81.
    std::array<std::uint16_t, 0x10000> value{};

    GbkTable()
    {
        value.fill(kUnencodable);
        UErrorCode status = U_ZERO_ERROR;
        UConverter* conv = ucnv_open("windows-936", &status);
        if (U_FAILURE(status))
            return;
        ucnv_setFromUCallBack(conv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        for (std::uint32_t u = 0; u < 0x10000; ++u) {
            if (u >= 0xD800 && u <= 0xDFFF)
                continue;
            const UChar unit = static_cast<UChar>(u);
            char out[8];
            status = U_ZERO_ERROR;
            const int32_t n = ucnv_fromUChars(conv, out, sizeof out, &unit, 1, &status);
            if (U_FAILURE(status))
                continue;
            if (n == 1)
                value[u] = static_cast<unsigned char>(out[0]);
            else if (n == 2)
                value[u] = static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                                      static_cast<unsigned char>(out[1]));
        }
        ucnv_close(conv);
    }
};

// Built once: an ICU call per character in a hot loop is far too slow for whole result pages.
const GbkTable& table()
{
    static const GbkTable t;
    return t;
}

} // namespace

QByteArray cp936Bytes(char16_t unit)
{
    const std::uint16_t v = table().value[unit];
    if (v == kUnencodable)
        return {};
    if (v < 0x100)
        return QByteArray(1, static_cast<char>(v));
    QByteArray pair(2, '\0');
    pair[0] = static_cast<char>(v >> 8);
    pair[1] = static_cast<char>(v & 0xFF);
    return pair;
}

QString fromCp936(const QByteArray& bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* conv = ucnv_open("windows-936", &status);
    if (U_FAILURE(status))
        return {};
    QString out(bytes.size(), Qt::Uninitialized);
    const int32_t n =
        ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                      bytes.constData(), static_cast<int32_t>(bytes.size()), &status);
    ucnv_close(conv);
    if (U_FAILURE(status))
        return {};
    out.truncate(n);
    return out;
}

bool isDoubleByte(char16_t unit)
{
    const std::uint16_t v = table().value[unit];
    return v != kUnencodable && v >= 0x100;
}

qsizetype countDoubleByte(const QString& text)
{
    const auto& t = table().value;
    qsizetype count = 0;
    for (const QChar c : text) {
        const std::uint16_t v = t[c.unicode()];
        count += (v != kUnencodable && v >= 0x100);
    }
    return count;
}

namespace {

icu::Transliterator* widthTransliterator()
{
    static const std::unique_ptr<icu::Transliterator> t = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> tr(
            icu::Transliterator::createInstance("Fullwidth-Halfwidth", UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(tr) : nullptr;
    }();
    return t.get();
}

// The transliterator maps each character on its own, so a table of the few hundred characters it
// changes gives the same result at a fraction of the cost on whole result pages.
struct WidthTable
{
    std::array<std::int16_t, 0x10000> index; // into replacements, -1 for unchanged
    QStringList replacements;
    qsizetype longest = 1; // the longest replacement

    WidthTable()
    {
        index.fill(-1);
        icu::Transliterator* t = widthTransliterator();
        if (!t)
            return;
        icu::UnicodeSet source;
        t->getSourceSet(source);
        for (int32_t r = 0; r < source.getRangeCount(); ++r) {
            for (UChar32 c = source.getRangeStart(r); c <= source.getRangeEnd(r) && c < 0x10000; ++c) {
                if (c >= 0xD800 && c <= 0xDFFF)
                    continue;
                icu::UnicodeString one(c);
                t->transliterate(one);
                const QString mapped(reinterpret_cast<const QChar*>(one.getBuffer()), one.length());
                if (mapped.size() == 1 && mapped.at(0).unicode() == c)
                    continue;
                index[c] = static_cast<std::int16_t>(replacements.size());
                replacements.append(mapped);
                longest = std::max(longest, mapped.size());
            }
        }
    }
};

} // namespace

QString keepDoubleByte(QStringView text, char16_t skip)
{
    const auto& t = table().value;
    QString out(text.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    qsizetype n = 0;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        const std::uint16_t v = t[c];
        if (v != kUnencodable && v >= 0x100 && c != skip)
            dst[n++] = c;
    }
    out.truncate(n);
    return out;
}

QString fullwidthToHalfwidth(const QString& text)
{
    static const WidthTable table;
    const qsizetype n = text.size();
    const char16_t* src = reinterpret_cast<const char16_t*>(text.utf16());
    qsizetype first = 0;
    while (first < n && table.index[src[first]] < 0)
        ++first;
    if (first == n)
        return text;
    QString out(first + (n - first) * table.longest, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    std::copy(src, src + first, dst);
    qsizetype size = first;
    for (qsizetype i = first; i < n; ++i) {
        const std::int16_t k = table.index[src[i]];
        if (k < 0) {
            dst[size++] = src[i];
        } else {
            const QString& r = table.replacements[k];
            const char16_t* rs = reinterpret_cast<const char16_t*>(r.utf16());
            std::copy(rs, rs + r.size(), dst + size);
            size += r.size();
        }
    }
    out.truncate(size);
    return out;
}

} // namespace text
