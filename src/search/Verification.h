#pragma once

#include <QString>

#include <optional>

// Pages a search service shows instead of results when it wants to be sure that a person is asking
// (slider captchas and the like). Such a page is never scored; the person solves it in the pane.
namespace search {

// A host that serves nothing but verification pages.
bool isVerificationHost(const QString& url);

// Whether the page asks for a verification: its title or one of its headings says so and it holds
// no result heading. body is unknown (nullopt) before the page has been read: then the title alone
// decides.
bool asksForVerification(const QString& title, const std::optional<QString>& body);

} // namespace search
