#pragma once

#include <QString>
#include <QStringView>

// A result title as plain data: what a reader sees of the title block and the one web address it
// links to. Nothing of the block's markup survives, so nothing of it can run where the title is shown.
namespace report {

struct TitleLink
{
    QString text; // the block's visible text, white space collapsed
    QString link; // an absolute http or https address, or empty
    bool operator==(const TitleLink&) const = default;
};

// The text and the first link address of a title block as found on a result page.
TitleLink titleLink(const QString& block);

// HTML character references decoded as a browser decodes them in an attribute value (inAttribute) or
// in text: numeric references, with the replacements browsers make for NUL, surrogates and the
// C1 range, and the named references titles use.
QString decodeCharacterReferences(QStringView html, bool inAttribute = false);

// An attribute value read the way a browser reads a link address (references decoded, leading and
// trailing controls and spaces stripped, tabs and line breaks removed); the address in its encoded
// form, without user name or password, if it is absolute http or https with a host, otherwise empty.
QString webAddress(QStringView attributeValue);

} // namespace report
