// Bitmap reading on arbitrary bytes: never a crash, never a huge allocation,
// and a refusal always comes with a message.
#include <QByteArray>
#include <QRect>
#include <cstdint>
#include <cstdlib>

#include "raster/BitmapFile.h"
#include "raster/Surface.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Keep decoded pictures well inside the fuzzer's memory limit.
    SetBitmapMemoryLimit(256);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const QImage img = ReadBitmapBytes(bytes, QStringLiteral("fuzz.bmp"), &error);
    if (img.isNull()) {
        if (error.isEmpty()) std::abort();
        return 0;
    }
    if (img.width() > MaxBitmapSide || img.height() > MaxBitmapSide) std::abort();
    Surface s(64, 48);
    s.DrawImage(img, -3, -2);
    s.StretchImage(img, QRect(5, 5, 40, 30));
    return 0;
}
