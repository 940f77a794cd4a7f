// velmot-cli: batch commands over the editor's core.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "base/Messages.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList&);
    const char* synopsis;
};

const Command kCommands[] = {
    {"compose", cli::RunCompose,
     "compose WORK.vlm [-o OUT.vlm] [--idt OUT.idt [--title T] [--time \"YYYY/MM/DD hh:mm:ss\"]\n"
     "          [--resolution X,Y] [--magnification M] [--remark TEXT]...] [--force] [--json]\n"
     "               runs the final boundary composition and writes the composed work\n"
     "               file and/or the finished map"},
    {"check", cli::RunCheck,
     "check WORK.vlm [--json]\n"
     "               traces every area position on its own and reports each outcome"},
    {"read-idt", cli::RunReadIdt,
     "read-idt IN.idt -o OUT.vlm [--force] [--json]\n"
     "               reads a finished map and saves it as a work file"},
    {"info", cli::RunInfo,
     "info FILE.vlm|FILE.idt [--json]\n"
     "               size, areas, positions, points and whether the map is composed"},
    {"import", cli::RunImport,
     "import IN -o OUT.vlm [--name-field FIELD] [--size W,H] [--layer NAME] [--encoding ENC]\n"
     "          [--simplify PX] [--force] [--json]\n"
     "               boundary polygons (GeoJSON, Shapefile, GeoPackage, ...) to a work file"},
    {"export", cli::RunExport,
     "export WORK.vlm -o OUT.(geojson|shp|gpkg|svg|pdf|png) [--force] [--json]\n"
     "               the composed outlines for GIS tools, print or a handout"},
    {"trace", cli::RunTrace,
     "trace SCAN -o OUT.vlm [--gap PX] [--min-area PX] [--ink R,G,B] [--simplify PX]\n"
     "          [--positions] [--force] [--json]\n"
     "               reads the boundaries off a scanned map into a work file"},
    {"clean", cli::RunClean,
     "clean WORK.vlm -o OUT.vlm [--snap PX] [--dangle PX] [--force] [--json]\n"
     "               mends crossings without a shared point, line ends short of or past\n"
     "               a line, short dead ends and segments traced twice"},
    {"georef", cli::RunGeoref,
     "georef WORK.vlm --gcp PX,PY,X,Y ... --crs EPSG:N [--transform affine|poly2|poly3|tps]\n"
     "          [-o OUT.vlm] [--force] [--json]\n"
     "               puts a traced scan on real coordinates by control points and prints\n"
     "               each point's residual, the RMS and the leave-one-out error"},
};

QString Overview() {
    QString s = QStringLiteral("usage: velmot-cli <command> [arguments]\n\ncommands:\n");
    for (const Command& c : kCommands) s += QStringLiteral("  %1\n").arg(QLatin1String(c.synopsis));
    s += QStringLiteral(
        "\n`velmot-cli <command> --help` describes a command's options; --force allows\n"
        "overwriting an existing output.\n"
        "Exit codes: 0 success, 1 the work failed, 2 bad usage or unreadable input.\n"
        "\nexamples (in a copy of the sample folder, with sample.vlm and sample.bmp):\n"
        "  velmot-cli check sample.vlm\n"
        "  velmot-cli compose sample.vlm -o composed.vlm --idt sample.idt --title \"Sample map\"\n"
        "  velmot-cli info sample.idt --json\n"
        "  velmot-cli read-idt sample.idt -o again.vlm\n"
        "  velmot-cli clean sample.vlm -o cleaned.vlm --snap 2\n"
        "  velmot-cli export composed.vlm -o sample.geojson\n"
        "  velmot-cli import sample.geojson -o imported.vlm --name-field name\n");
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing the map (SVG, PDF, PNG) needs fonts, hence a GUI application;
    // offscreen, so that it runs without a display.
    const bool draws = argc >= 2 && !std::strcmp(argv[1], "export");
    if (draws && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (draws)  // the offscreen platform's note about XDG_RUNTIME_DIR is no concern of ours
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
            if (!m.startsWith(QLatin1String("QStandardPaths: ")))
                std::fprintf(stderr, "%s\n", m.toLocal8Bit().constData());
            if (type == QtFatalMsg) std::abort();
        });
    std::unique_ptr<QCoreApplication> appHolder(draws ? new QGuiApplication(argc, argv)
                                                      : new QCoreApplication(argc, argv));
    QCoreApplication& app = *appHolder;
    QCoreApplication::setApplicationName(QStringLiteral("velmot-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.22"));
    const QStringList args = app.arguments();
    if (args.size() >= 2)
        for (const Command& c : kCommands)
            if (args[1] == QLatin1String(c.name)) return c.run(args.mid(2));

    // A first word that is no option names a command we do not have, whatever
    // options follow it.
    if (args.size() >= 2 && !args[1].startsWith(u'-')) {
        cli::Err(msg::Text(Msg::CliNoSuchCommand).arg(args[1]));
        std::fprintf(stderr, "%s", Overview().toUtf8().constData());
        return cli::ExitUsage;
    }
    // No command: only the program's own options are understood.
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("This text."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("The program's version."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run."));
    const bool parsed = parser.parse(args);
    if (parsed && parser.isSet(version)) {
        std::printf("velmot-cli 1.22\n");
        return cli::ExitOk;
    }
    if (parsed && parser.isSet(help)) {
        std::printf("%s", Overview().toUtf8().constData());
        return cli::ExitOk;
    }
    if (!parsed)
        cli::Err(QStringLiteral("velmot-cli: ") + parser.errorText());
    else if (!parser.positionalArguments().isEmpty())
        cli::Err(msg::Text(Msg::CliNoSuchCommand).arg(parser.positionalArguments().first()));
    std::fprintf(stderr, "%s", Overview().toUtf8().constData());
    return cli::ExitUsage;
}
