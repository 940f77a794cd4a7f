// Boundary import on arbitrary GeoJSON: never a crash, never a hang, and a
// refusal always comes with a message. GDAL reads from a file, so each input
// goes through one.
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "gis/BoundaryImport.h"
#include "store/Store.h"

namespace {
QString gPath;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    gPath = QDir::temp().filePath(QStringLiteral("velmot-fuzz-%1.geojson").arg(::getpid()));
    std::atexit([] { QFile::remove(gPath); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile f(gPath);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        if (f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
    }
    static auto st = std::make_unique<Store>();
    *st = Store();
    gis::ImportOptions options;
    options.width = 400;
    options.height = 300;
    gis::ImportResult r;
    if (!gis::ImportBoundaries(gPath, options, *st, r) && r.error.isEmpty()) std::abort();
    return 0;
}
