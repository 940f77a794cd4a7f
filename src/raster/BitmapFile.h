// Windows bitmap files: reading any common kind, writing 16-colour ones.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QFile;
class Surface;

// Pictures wider or taller than this cannot be addressed by 16-bit map
// coordinates and are refused.
constexpr int MaxBitmapSide = 32767;

// Reads a bitmap file (1/4/8/16/24/32 bits, RLE, top-down). On failure returns
// a null image and sets error to a message naming the file. The header is
// checked before anything is decoded: a file that is too short for the
// picture it declares, or declares one larger than 32767 pixels a side or
// than the decoding memory limit, is refused without allocating it.
QImage ReadBitmapFile(const QString& path, QString* error);
// The same for bytes already in memory; name is used in the messages.
QImage ReadBitmapBytes(const QByteArray& bytes, const QString& name, QString* error);

// Opens a picture file (named by f) for reading. False, with a message naming
// the file in error, when it does not exist or cannot be opened.
bool OpenPictureFile(QFile& f, QString* error);

// Memory a decoded picture may take, in megabytes (default 2048).
void SetBitmapMemoryLimit(int megabytes);
int BitmapMemoryLimit();

// Writes the whole surface as a 4-bit bitmap (standard 16-colour palette,
// bottom-up rows), which keeps its 16 colours exactly. Goes through a
// temporary file, so a failure leaves an existing file intact.
bool WriteSurfaceBitmap(const Surface& surface, const QString& path, QString* error);

// Writes any picture as a bitmap file (used for pictures kept in their own format).
bool WriteBitmapFile(const QImage& img, const QString& path, QString* error);
