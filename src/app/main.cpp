#include "app/Form1.h"
#include "app/Localisation.h"
#include "app/Program.h"
#include "app/ProgramIcon.h"
#include "platform/Fonts.h"
#include "platform/TemporaryFiles.h"
#include "platform/WordProcessorJob.h"
#include "report/ReportFile.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    localisation::prepareBrowserLanguage();
    QApplication app(argc, argv);
    // Names the settings file and the folder of kept results.
    QCoreApplication::setOrganizationName(QStringLiteral("tessaro"));
    QCoreApplication::setApplicationName(QStringLiteral("tessaro"));
    localisation::installChinese(app);
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSARO_APP_ID));
    fonts::installSongSubstitution();
    // What an earlier run left: in the private folder, and where earlier versions put it.
    report::removeLeftPrintFolders(QDir::tempPath(), QCoreApplication::applicationName());
    WordProcessorJob::removeStaleProfiles(QDir::tempPath());
    WordProcessorJob::removeStaleProfiles(tempfiles::privateFolder());
    Program::Options options;
    options.storeDirectory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const std::unique_ptr<Form1> form = Program::makeMainWindow(std::move(options));
    form->show();
    return app.exec();
}
