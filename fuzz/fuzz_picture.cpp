// Under-drawing reading on arbitrary bytes, in any format Qt reads: never a
// crash, never a huge allocation, and a refusal always comes with a message.
#include <QByteArray>
#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

#include "raster/BitmapFile.h"
#include "raster/PictureFile.h"
#include "raster/Surface.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Image plugins (TIFF, WebP) are found through the application object.
    static QCoreApplication app(*argc, *argv);
    SetBitmapMemoryLimit(256);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const QImage img = ReadPictureBytes(bytes, QStringLiteral("fuzz.pic"), &error);
    if (img.isNull()) {
        if (error.isEmpty()) std::abort();
        return 0;
    }
    if (img.width() > MaxBitmapSide || img.height() > MaxBitmapSide) std::abort();
    Surface s(64, 48);
    s.DrawImage(img, -3, -2);
    return 0;
}
