#include "raster/BitmapFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstdint>
#include <cstring>

#include "base/Messages.h"
#include "base/SafeSave.h"
#include "raster/Surface.h"

namespace {
int gLimitMB = 2048;
// Below this many pixels a run-length picture is decoded whatever its size.
constexpr int64_t SmallPicturePixels = int64_t(4096) * 4096;
// Escapes that end a row or skip pixels let a real picture cover somewhat
// more than its runs do; beyond this factor it is taken as hostile.
constexpr int64_t RunLengthSlack = 4;

QString Shown(const QString& name) {
    return QDir::toNativeSeparators(name);
}

QString NotABitmap(const QString& name, const QString& why) {
    return msg::Text(Msg::BitmapUnreadable).arg(Shown(name), why);
}

uint32_t U32(const uchar* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uchar* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// Checks the headers against the file's size and our limits before the
// decoder sees them, so that a hostile header cannot make it allocate a
// huge picture. Returns an empty string when the file may be decoded.
QString CheckHeader(QIODevice& dev, const QString& name) {
    const qint64 fileSize = dev.size();
    const QByteArray head = dev.peek(64);
    if (fileSize == 0) return NotABitmap(name, msg::Text(Msg::BitmapEmptyFile));
    if (head.size() < 26 || head[0] != 'B' || head[1] != 'M')
        return NotABitmap(name, msg::Text(Msg::BitmapNoHeader));
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    const qint64 offset = U32(p + 10);
    const uint32_t infoSize = U32(p + 14);
    int64_t w, h;
    int bpp;
    uint32_t compression = 0;
    if (infoSize == 12) {  // the old core header: 16-bit sizes
        w = U16(p + 18);
        h = U16(p + 20);
        bpp = U16(p + 24);
    } else if (infoSize >= 40 && head.size() >= 34) {
        w = int32_t(U32(p + 18));
        h = int32_t(U32(p + 22));
        bpp = U16(p + 28);
        compression = U32(p + 30);
    } else {
        return NotABitmap(name, msg::Text(Msg::BitmapBadHeader));
    }
    if (w < 0) return NotABitmap(name, msg::Text(Msg::BitmapNegativeWidth).arg(w));
    if (h < 0) h = -h;  // top-down rows
    if (w == 0 || h == 0) return NotABitmap(name, msg::Text(Msg::BitmapZeroSize));
    if (w > MaxBitmapSide || h > MaxBitmapSide)
        return msg::Text(Msg::BitmapTooLarge).arg(Shown(name)).arg(w).arg(h).arg(MaxBitmapSide);
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return NotABitmap(name, msg::Text(Msg::BitmapDepthUnsupported).arg(bpp));
    const bool packed = compression == 0 || compression == 3 || compression == 6;
    if (packed) {
        const int64_t rowBytes = (w * bpp + 31) / 32 * 4;
        const int64_t need = rowBytes * (h - 1) + (w * bpp + 7) / 8;
        if (offset < 26 || offset > fileSize || fileSize - offset < need)
            return NotABitmap(name, msg::Text(Msg::BitmapCut));
    }
    // Run-length data gives at most 255 pixels for every two bytes. A picture
    // declared far larger than that is refused before the decoder allocates
    // it; small ones stay allowed, as rows may end early with an escape.
    const bool runLength = compression == 1 || compression == 2;
    if (runLength && offset <= fileSize && w * h > SmallPicturePixels &&
        w * h > (fileSize - offset) / 2 * 255 * RunLengthSlack)
        return msg::Text(Msg::BitmapSizeMismatch).arg(Shown(name)).arg(w).arg(h).arg(fileSize);
    const int64_t decoded = w * h * (bpp <= 8 ? 1 : 4);
    if (decoded > int64_t(gLimitMB) * 1024 * 1024)
        return msg::Text(Msg::BitmapTooLargeShort).arg(Shown(name)).arg(w).arg(h);
    return {};
}

QImage ReadFromDevice(QIODevice& dev, const QString& name, QString* error) {
    const QString bad = CheckHeader(dev, name);
    if (!bad.isEmpty()) {
        if (error) *error = bad;
        return {};
    }
    QImageReader reader(&dev, "bmp");
    const int oldLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(gLimitMB);
    QImage img = reader.read();
    QImageReader::setAllocationLimit(oldLimit);
    if (img.isNull() && error) *error = NotABitmap(name, reader.errorString());
    return img;
}
}  // namespace

void SetBitmapMemoryLimit(int megabytes) {
    gLimitMB = megabytes > 0 ? megabytes : 1;
}
int BitmapMemoryLimit() {
    return gLimitMB;
}

bool OpenPictureFile(QFile& f, QString* error) {
    if (!f.exists()) {
        if (error) *error = msg::Text(Msg::MapFileMissing).arg(Shown(f.fileName()));
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = msg::Text(Msg::CliInfoNotOpened).arg(Shown(f.fileName()), f.errorString());
        return false;
    }
    return true;
}

QImage ReadBitmapFile(const QString& path, QString* error) {
    QFile f(path);
    if (!OpenPictureFile(f, error)) return {};
    return ReadFromDevice(f, path, error);
}

QImage ReadBitmapBytes(const QByteArray& bytes, const QString& name, QString* error) {
    QByteArray copy = bytes;  // shares the data; QBuffer needs a non-const array
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    return ReadFromDevice(buf, name, error);
}

namespace {
QString WriteError(const QString& path, const QString& why) {
    return msg::Text(Msg::FileNotWritable).arg(Shown(path), why);
}

void Put16(QByteArray& b, uint16_t v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}
void Put32(QByteArray& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}
}  // namespace

bool WriteBitmapFile(const QImage& img, const QString& path, QString* error) {
    if (img.isNull()) {
        if (error) *error = WriteError(path, msg::Text(Msg::BitmapNoImage));
        return false;
    }
    return safesave::WriteFile(
        Shown(path), [&](QIODevice& f) { return img.save(&f, "BMP"); }, error);
}

bool WriteSurfaceBitmap(const Surface& surface, const QString& path, QString* error) {
    const int w = surface.Width(), h = surface.Height();
    if (w <= 0 || h <= 0) {
        if (error) *error = WriteError(path, msg::Text(Msg::BitmapSurfaceEmpty));
        return false;
    }
    const uint32_t rowBytes = uint32_t((w + 7) / 8 * 4);  // two pixels a byte, rows padded to 4
    const uint32_t dataOffset = 14 + 40 + 16 * 4;
    const uint32_t imageSize = rowBytes * uint32_t(h);

    QByteArray head;
    head.reserve(int(dataOffset));
    head.append("BM", 2);
    Put32(head, dataOffset + imageSize);
    Put32(head, 0);  // reserved
    Put32(head, dataOffset);
    Put32(head, 40);  // BITMAPINFOHEADER
    Put32(head, uint32_t(w));
    Put32(head, uint32_t(h));  // positive: bottom-up rows
    Put16(head, 1);            // planes
    Put16(head, 4);            // bits per pixel
    Put32(head, 0);            // no compression
    Put32(head, imageSize);
    Put32(head, 0);  // pixels per metre, x and y: unspecified
    Put32(head, 0);
    Put32(head, 16);  // colours used
    Put32(head, 0);   // all important
    for (int i = 0; i < 16; ++i) {
        const QRgb c = PaletteRgb(uint8_t(i));
        head.append(char(qBlue(c)));
        head.append(char(qGreen(c)));
        head.append(char(qRed(c)));
        head.append('\0');
    }

    return safesave::WriteFile(Shown(path), [&](QIODevice& f) {
    bool ok = f.write(head) == head.size();
    QByteArray row(int(rowBytes), '\0');
    for (int y = h - 1; ok && y >= 0; --y) {
        const uint8_t* src = surface.Data() + size_t(y) * size_t(w);
        auto* dst = reinterpret_cast<uchar*>(row.data());
        std::memset(dst, 0, rowBytes);
        for (int x = 0; x < w; ++x) {
            const uint8_t c = src[x] & 0x0F;
            dst[x / 2] |= (x % 2 == 0) ? uint8_t(c << 4) : c;
        }
        ok = f.write(row) == row.size();
    }
    return ok;
    }, error);
}
