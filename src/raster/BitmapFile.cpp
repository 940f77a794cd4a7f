#include "raster/BitmapFile.h"

#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include "raster/Surface.h"

QImage ReadBitmapFile(const QString& path, QString* error) {
    QImageReader reader(path, "bmp");
    QImage img = reader.read();
    if (img.isNull() && error)
        *error = QStringLiteral("%1 はビットマップファイルとして読めません。(%2)")
                     .arg(QFileInfo(path).fileName(), reader.errorString());
    return img;
}

bool WriteBitmapFile(const QImage& img, const QString& path, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || !img.save(&f, "BMP") || !f.commit()) {
        if (error) *error = QStringLiteral("%1 に書き込めません。(%2)").arg(path, f.errorString());
        return false;
    }
    return true;
}

bool WriteSurfaceBitmap(const Surface& surface, const QString& path, QString* error) {
    return WriteBitmapFile(surface.ToImage(), path, error);
}
