#pragma once

#include "search/Engines.h"

#include <QString>

#include <optional>

// Pages a search service shows instead of results when it wants to be sure that a person is asking
// (slider captchas and the like). Such a page is never scored; the person solves it in the pane.
namespace search {

// A host that serves nothing but verification pages.
bool isVerificationHost(const QString& url);

// Whether the body is the service's own answer: it lists a result, or it shows the service's search
// form, which its result and no-result pages carry and its verification pages do not.
bool isServiceAnswer(const QString& body, std::optional<Engine> service);

// Whether the page asks for a verification: its title or one of its headings says so and it is not
// the service's answer (the query's own words may be in its title). body is unknown (nullopt)
// before the page has been read: then the title alone decides.
bool asksForVerification(const QString& title, const std::optional<QString>& body,
                         std::optional<Engine> service = std::nullopt);

} // namespace search
