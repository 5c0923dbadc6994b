#include "support/IcuWidth.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace icuwidth {

QString fullwidthToHalfwidth(const QString& text)
{
    static const std::unique_ptr<icu::Transliterator> t = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> tr(
            icu::Transliterator::createInstance("Fullwidth-Halfwidth", UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(tr) : nullptr;
    }();
    if (!t || text.isEmpty())
        return text;
    icu::UnicodeString s(reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()));
    t->transliterate(s);
    return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

} // namespace icuwidth
