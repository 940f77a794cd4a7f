// Windows bitmap files: reading any common kind, writing 16-colour ones.
#pragma once

#include <QImage>
#include <QString>

class Surface;

// Reads a bitmap file (1/4/8/16/24/32 bits, RLE, top-down). On failure returns
// a null image and sets error to a message naming the file.
QImage ReadBitmapFile(const QString& path, QString* error);

// Writes the whole surface as a 4-bit bitmap that keeps its 16 colours exactly.
// Goes through a temporary file, so a failure leaves an existing file intact.
bool WriteSurfaceBitmap(const Surface& surface, const QString& path, QString* error);

// Writes any picture as a bitmap file (used for pictures kept in their own format).
bool WriteBitmapFile(const QImage& img, const QString& path, QString* error);
