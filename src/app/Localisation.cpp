#include "app/Localisation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWebEngineProfile>

namespace localisation {

QByteArray withChromiumLanguage(const QByteArray& flags)
{
    const QList<QByteArray> words = flags.simplified().split(' ');
    for (const QByteArray& w : words) {
        if (w.startsWith("--lang="))
            return flags;
    }
    const QByteArray lang = QByteArray("--lang=") + kChromiumLocale;
    return flags.trimmed().isEmpty() ? lang : flags + ' ' + lang;
}

void prepareBrowserLanguage()
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", withChromiumLanguage(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
}

QStringList qtCatalogues()
{
    // qtbase: standard buttons, file and message dialogs, the editors' context menus;
    // qtwebengine: the pane's context menu and its actions.
    return {QStringLiteral("qtbase"), QStringLiteral("qtwebengine")};
}

QStringList installChinese(QCoreApplication& app)
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QStringList loaded;
    for (const QString& catalogue : qtCatalogues()) {
        auto* translator = new QTranslator(&app);
        if (translator->load(chinese, catalogue, QStringLiteral("_"), dir) &&
            QCoreApplication::installTranslator(translator))
            loaded.append(catalogue);
        else
            delete translator;
    }
    // A desktop's own file dialogs (GTK's, KDE's) speak the system language; Qt's own dialogs speak
    // the catalogues loaded above.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QWebEngineProfile::defaultProfile()->setHttpAcceptLanguage(QString::fromLatin1(kAcceptLanguage));
    return loaded;
}

} // namespace localisation
