// Under-drawings in any picture format Qt reads (BMP, PNG, JPEG, TIFF, WebP,
// GIF, ...), and the first page of a PDF where Poppler is built in; told
// apart by their content, never by the file name.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Reads the first picture of a file. Bitmap files go through ReadBitmapFile
// and its checks; every other format is refused when the size its header
// declares is over 32767 pixels a side or over the decoding memory limit,
// before anything is decoded. A PDF's first page is rendered at 300 dpi, or
// less where that would break the same limits. On failure returns a null image and sets error
// to a message naming the file.
QImage ReadPictureFile(const QString& path, QString* error);
// The same for bytes already in memory; name is used in the messages.
QImage ReadPictureBytes(const QByteArray& bytes, const QString& name, QString* error);

// The pixel size ReadPictureFile would give, from the header alone (a PDF's
// from its first page's size at the resolution it is rendered at), so that a
// small file that would decode to gigabytes can be asked about first.
// Invalid when the header does not say. bytesPerPixel: what each pixel costs
// while it is decoded (a PDF's twice, the renderer's bitmap and the image),
// 0 for a bitmap file, whose size on disk already tells its memory.
QSize DeclaredPictureSize(const QString& path, int* bytesPerPixel = nullptr);

// File-name patterns of every readable format, "*.bmp" first.
QStringList PicturePatterns();
// Whether the file's content is of a format ReadPictureFile takes (the
// header alone is looked at, not whether the picture is whole).
bool IsPictureFile(const QString& path);
// Whether PDF scans can be read (Poppler was found at build time).
bool PdfPictures();
