#pragma once

#include <QByteArray>
#include <QStringList>

class QCoreApplication;

// The program speaks Simplified Chinese on every desktop: Qt's own texts (standard buttons, file
// dialogs, context menus), the browser pane's Chromium pages and the language asked of the search
// services, whatever the system language is.
namespace localisation {

// Chromium's locale and the Accept-Language header of the browser pane.
inline constexpr char kChromiumLocale[] = "zh-CN";
inline constexpr char kAcceptLanguage[] = "zh-CN,zh;q=0.9";

// Chromium flags with the interface language added; flags already set (the sandbox and proxy flags
// of the run and test scripts) are kept, and a language that is already named is left alone.
QByteArray withChromiumLanguage(const QByteArray& flags);

// Before the application object exists: names the language in QTWEBENGINE_CHROMIUM_FLAGS, which
// Chromium reads once at its start.
void prepareBrowserLanguage();

// After the application object exists and before any window: installs Qt's Simplified Chinese
// catalogues, makes Chinese the default locale, keeps to Qt's own dialogs and sets the pane's
// Accept-Language. Returns the catalogues that were loaded (a catalogue that is missing leaves those
// texts in English).
QStringList installChinese(QCoreApplication& app);

// The Qt catalogues the program uses, without language suffix.
QStringList qtCatalogues();

} // namespace localisation
