// velmot-cli import and export in the everyday program: they run in
// velmot-cli-gis, which links GDAL/OGR. Loading GDAL and the hundred-odd
// libraries behind it costs about 40 ms at every start, more than a whole
// composition, so only the program that needs it pays for it.
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <string>
#include <vector>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "base/Messages.h"

namespace cli {
namespace {

// Beside this program (the build tree), else where the package installs it.
QString HelperPath() {
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& p : {here.filePath(QStringLiteral("velmot-cli-gis")),
                             here.filePath(QStringLiteral("../libexec/velmot/velmot-cli-gis"))})
        if (QFileInfo(p).isExecutable()) return QDir::cleanPath(p);
    return QString();
}

// Replaces this process with the helper running the same command; returns
// only when that cannot be done.
int RunInHelper(const char* command, const QStringList& args) {
    const QString helper = HelperPath();
    if (helper.isEmpty()) {
        Err(msg::Text(Msg::CliGisMissing).arg(QLatin1String(command)));
        return ExitUsage;
    }
    std::vector<std::string> owned{QFile::encodeName(helper).toStdString(), command};
    for (const QString& a : args) owned.push_back(QFile::encodeName(a).toStdString());
    std::vector<char*> argv;
    for (std::string& s : owned) argv.push_back(s.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    std::fflush(stderr);
    ::execv(argv[0], argv.data());
    Err(msg::Text(Msg::CliGisNotStarted).arg(helper));
    return ExitUsage;
}

}  // namespace

int RunImport(const QStringList& args) {
    return RunInHelper("import", args);
}

int RunExport(const QStringList& args) {
    return RunInHelper("export", args);
}

int RunGeoref(const QStringList& args) {
    return RunInHelper("georef", args);
}

}  // namespace cli
