// Program entry: the command line, the application, the editor and its
// window, then the event loop.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/App.h"

namespace {

// The file to open, or empty. --help and --version print and end the program
// here, before anything needs a display.
QString ParseCommandLine(int argc, char** argv) {
    QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmot"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMOT_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Outline map editor: trace boundaries over a scanned map, name the areas and write\n"
        "the finished map (.idt)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("A work file (.vlm), a finished map (.idt) or a picture to trace over;\n"
                       "told apart by what the file holds."),
        QStringLiteral("[file]"));
    parser.process(probe);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "velmot: one file at a time (try --help)\n");
        std::exit(2);
    }
    return files.isEmpty() ? QString() : files.first();
}

}  // namespace

int main(int argc, char** argv) {
    const QString file = ParseCommandLine(argc, argv);
    QApplication qapp(argc, argv);
    SetUpApplication();
    LoadQtTranslations();
    VelmotApp app;
    app.Start(QString::fromLocal8Bit(argv[0]));
    app.OpenAtStart(file);
    return qapp.exec();
}
