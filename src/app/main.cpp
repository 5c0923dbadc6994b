#include "app/Form1.h"
#include "app/Localisation.h"
#include "app/ProgramIcon.h"
#include "platform/Fonts.h"
#include "platform/WordProcessorJob.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    localisation::prepareBrowserLanguage();
    QApplication app(argc, argv);
    localisation::installChinese(app);
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSARO_APP_ID));
    fonts::installSongSubstitution();
    WordProcessorJob::removeStaleProfiles(QDir::tempPath());
    Form1 form;
    form.show();
    return app.exec();
}
