#pragma once

// Readable rich-text values in GoogleTest failure messages.
#include "documents/RichText.h"
#include "support/QtPrinters.h"

#include <ostream>

namespace richtext {

inline void PrintTo(const Document& d, std::ostream* os)
{
    for (const Paragraph& p : d.paragraphs) {
        *os << "\n  [";
        for (const Run& r : p.runs) {
            *os << " {\"" << r.text.toStdString() << "\" " << r.format.fontName.toStdString() << ' '
                << r.format.halfPoints;
            if (r.format.color)
                *os << " rgb(" << r.format.color->red << ',' << r.format.color->green << ','
                    << r.format.color->blue << ')';
            if (r.format.background)
                *os << " on rgb(" << r.format.background->red << ',' << r.format.background->green << ','
                    << r.format.background->blue << ')';
            *os << (r.format.bold ? " b" : "") << (r.format.italic ? " i" : "")
                << (r.format.underline ? " u" : "") << '}';
        }
        *os << " ]";
    }
}

} // namespace richtext
