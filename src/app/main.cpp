#include "app/Form1.h"
#include "platform/Fonts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    fonts::installSongSubstitution();
    Form1 form;
    form.show();
    return app.exec();
}
