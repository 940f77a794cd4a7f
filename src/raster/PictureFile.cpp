#include "raster/PictureFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include "raster/BitmapFile.h"

namespace {

QString Shown(const QString& name) {
    return QDir::toNativeSeparators(name);
}

QString NotAPicture(const QString& name, const QString& why) {
    return QStringLiteral("%1 は画像ファイルとして読めません。(%2)").arg(Shown(name), why);
}

QString TooLarge(const QString& name, QSize s) {
    return QStringLiteral("%1 は大きすぎて読めません（%2 x %3 画素）。縦横とも %4 画素までです。")
        .arg(Shown(name))
        .arg(s.width())
        .arg(s.height())
        .arg(MaxBitmapSide);
}

bool IsBitmap(QIODevice& dev) {
    return dev.peek(2) == QByteArrayLiteral("BM");
}

QImage ReadOther(QIODevice& dev, const QString& name, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return QImage();
    };
    if (dev.size() == 0) return fail(NotAPicture(name, QStringLiteral("空のファイルです")));
    QImageReader reader(&dev);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) return fail(NotAPicture(name, QStringLiteral("対応していない形式です")));
    // The size from the header alone: a picture too large for the map's
    // coordinates or for memory is refused before the decoder allocates it.
    const QSize declared = reader.size();
    if (declared.isValid()) {
        if (declared.width() > MaxBitmapSide || declared.height() > MaxBitmapSide)
            return fail(TooLarge(name, declared));
        if (qint64(declared.width()) * declared.height() * 4 >
            qint64(BitmapMemoryLimit()) * 1024 * 1024)
            return fail(QStringLiteral("%1 は大きすぎて読めません（%2 x %3 画素）。")
                            .arg(Shown(name))
                            .arg(declared.width())
                            .arg(declared.height()));
    }
    // Formats that cannot tell their size up front are held by Qt's own limit.
    const int oldLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(BitmapMemoryLimit());
    QImage img = reader.read();
    QImageReader::setAllocationLimit(oldLimit);
    if (img.isNull()) return fail(NotAPicture(name, reader.errorString()));
    if (img.width() > MaxBitmapSide || img.height() > MaxBitmapSide)
        return fail(TooLarge(name, img.size()));
    return img;
}

}  // namespace

QImage ReadPictureFile(const QString& path, QString* error) {
    QFile f(path);
    if (!f.exists()) {
        if (error) *error = QStringLiteral("%1 が見つかりません。").arg(Shown(path));
        return {};
    }
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1 を開けません。(%2)").arg(Shown(path), f.errorString());
        return {};
    }
    if (IsBitmap(f)) {
        f.close();
        return ReadBitmapFile(path, error);
    }
    return ReadOther(f, path, error);
}

QImage ReadPictureBytes(const QByteArray& bytes, const QString& name, QString* error) {
    QByteArray copy = bytes;  // shares the data; QBuffer needs a non-const array
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    if (IsBitmap(buf)) return ReadBitmapBytes(bytes, name, error);
    return ReadOther(buf, name, error);
}

QStringList PicturePatterns() {
    QStringList out{QStringLiteral("*.bmp")};
    for (const QByteArray& suffix : QImageReader::supportedImageFormats()) {
        const QString p = QStringLiteral("*.") + QString::fromLatin1(suffix).toLower();
        if (!out.contains(p)) out << p;
    }
    return out;
}
