// Program entry: the application, the editor and its window, then the event loop.
#include <QApplication>

#include "app/App.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    SetUpApplication();
    VelmotApp app;
    app.Start(QString::fromLocal8Bit(argv[0]));
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) app.OpenFromCommandLine(args[1]);
    return qapp.exec();
}
