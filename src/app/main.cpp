#include "app/Form1.h"
#include "app/Localisation.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

namespace {

// The icon built into the program, at every size rendered from data/icons/tessaro.svg.
QIcon programIcon()
{
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString& file : icons.entryList({QStringLiteral("tessaro-*.png")}, QDir::Files))
        icon.addFile(icons.filePath(file));
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    localisation::prepareBrowserLanguage();
    QApplication app(argc, argv);
    localisation::installChinese(app);
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSARO_APP_ID));
    fonts::installSongSubstitution();
    Form1 form;
    form.show();
    return app.exec();
}
