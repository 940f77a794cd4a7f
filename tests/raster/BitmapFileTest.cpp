#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdint>
#include <vector>

#include "raster/BitmapFile.h"
#include "raster/PictureFile.h"
#include "raster/Surface.h"

namespace {
void Put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void Put32(QByteArray& b, int64_t v) {
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}

// A bitmap file written byte by byte: file header, BITMAPINFOHEADER, the
// optional bit masks and palette, then the pixel data as given.
QByteArray Bmp(int w, int h, int bpp, int compression, const QByteArray& pixels,
               const std::vector<QRgb>& palette = {}, const std::vector<uint32_t>& masks = {}) {
    QByteArray info;
    Put32(info, 40);
    Put32(info, w);
    Put32(info, h);
    Put16(info, 1);
    Put16(info, bpp);
    Put32(info, compression);
    Put32(info, pixels.size());
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, int64_t(palette.size()));
    Put32(info, 0);
    for (uint32_t m : masks) Put32(info, m);
    for (QRgb c : palette) {
        info.append(char(qBlue(c)));
        info.append(char(qGreen(c)));
        info.append(char(qRed(c)));
        info.append('\0');
    }
    QByteArray file("BM");
    Put32(file, 14 + info.size() + pixels.size());
    Put32(file, 0);
    Put32(file, 14 + info.size());
    return file + info + pixels;
}

QByteArray Bytes(std::initializer_list<int> v) {
    QByteArray b;
    for (int x : v) b.append(char(x));
    return b;
}

const std::vector<QRgb> kFour = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

QImage Read(const QByteArray& bytes, QString* err = nullptr) {
    QString e;
    QImage img = ReadBitmapBytes(bytes, QStringLiteral("test.bmp"), &e);
    if (err) *err = e;
    EXPECT_EQ(img.isNull(), !e.isEmpty()) << e.toStdString();
    return img;
}

std::vector<QRgb> Row(const QImage& img, int y) {
    std::vector<QRgb> out;
    for (int x = 0; x < img.width(); ++x) out.push_back(img.pixel(x, y) | 0xFF000000u);
    return out;
}

constexpr QRgb K = 0xFF000000u, R = 0xFFFF0000u, G = 0xFF00FF00u, B = 0xFF0000FFu;
}  // namespace

TEST(BitmapRead, PalettedKinds) {
    // 1 bit: a row of nine pixels crosses a byte.
    QImage one = Read(Bmp(9, 2, 1, 0, Bytes({0xAA, 0x80, 0, 0, 0x55, 0x00, 0, 0}),
                          {qRgb(0, 0, 0), qRgb(255, 255, 255)}));
    ASSERT_FALSE(one.isNull());
    EXPECT_EQ(one.pixel(0, 1) | K, 0xFFFFFFFFu) << "bottom-up: the first row stored is the last";
    EXPECT_EQ(one.pixel(1, 1) | K, K);
    EXPECT_EQ(one.pixel(8, 1) | K, 0xFFFFFFFFu);
    EXPECT_EQ(one.pixel(1, 0) | K, 0xFFFFFFFFu);

    // 4 bits: high nibble first, rows padded to four bytes.
    QImage four = Read(Bmp(3, 2, 4, 0, Bytes({0x12, 0x30, 0, 0, 0x01, 0x20, 0, 0}), kFour));
    ASSERT_FALSE(four.isNull());
    EXPECT_EQ(Row(four, 0), (std::vector<QRgb>{K, R, G}));
    EXPECT_EQ(Row(four, 1), (std::vector<QRgb>{R, G, B}));

    QImage eight = Read(Bmp(3, 1, 8, 0, Bytes({3, 2, 1, 0}), kFour));
    ASSERT_FALSE(eight.isNull());
    EXPECT_EQ(Row(eight, 0), (std::vector<QRgb>{B, G, R}));
}

TEST(BitmapRead, RunLengthEncodedKinds) {
    // RLE8, bottom row first: run of 3 x index 1, end of line; absolute run 2,3,1 (padded), end of
    // bitmap.
    QImage r8 = Read(Bmp(3, 2, 8, 1, Bytes({3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1}), kFour));
    ASSERT_FALSE(r8.isNull());
    EXPECT_EQ(Row(r8, 1), (std::vector<QRgb>{R, R, R}));
    EXPECT_EQ(Row(r8, 0), (std::vector<QRgb>{G, B, R}));

    // RLE4: a run of 4 alternating 1,2; end of line; absolute run of 4 nibbles 3,0,2,1.
    QImage r4 = Read(Bmp(4, 2, 4, 2, Bytes({4, 0x12, 0, 0, 0, 4, 0x30, 0x21, 0, 1}), kFour));
    ASSERT_FALSE(r4.isNull());
    EXPECT_EQ(Row(r4, 1), (std::vector<QRgb>{R, G, R, G}));
    EXPECT_EQ(Row(r4, 0), (std::vector<QRgb>{B, K, G, R}));
}

TEST(BitmapRead, TrueColourKinds) {
    // 16 bits, 5-5-5: red, then blue; row padded to 4 bytes.
    QImage s16 = Read(Bmp(2, 1, 16, 0, Bytes({0x00, 0x7C, 0x1F, 0x00})));
    ASSERT_FALSE(s16.isNull());
    // Five-bit channels scale to slightly under 255; what counts is the colour
    // the surface makes of them.
    EXPECT_EQ(NearestColour(s16.pixel(0, 0)), Red);
    EXPECT_EQ(NearestColour(s16.pixel(1, 0)), Blue);
    EXPECT_GE(qRed(s16.pixel(0, 0)), 248);

    // 16 bits with 5-6-5 masks: green.
    QImage b16 = Read(Bmp(1, 1, 16, 3, Bytes({0xE0, 0x07, 0, 0}), {}, {0xF800, 0x07E0, 0x001F}));
    ASSERT_FALSE(b16.isNull());
    EXPECT_EQ(NearestColour(b16.pixel(0, 0)), Lime);
    EXPECT_EQ(qRed(b16.pixel(0, 0)) + qBlue(b16.pixel(0, 0)), 0);

    // 24 bits, top-down (negative height), rows of 6 bytes padded to 8.
    QImage td =
        Read(Bmp(2, -2, 24, 0, Bytes({0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 10, 200, 30, 0, 0})));
    ASSERT_FALSE(td.isNull());
    EXPECT_EQ(td.height(), 2);
    EXPECT_EQ(Row(td, 0), (std::vector<QRgb>{R, G}));
    EXPECT_EQ(Row(td, 1), (std::vector<QRgb>{B, qRgb(30, 200, 10)}));

    QImage t32 = Read(Bmp(2, 1, 32, 0, Bytes({255, 0, 0, 0, 0, 255, 0, 0})));
    ASSERT_FALSE(t32.isNull());
    EXPECT_EQ(Row(t32, 0), (std::vector<QRgb>{B, G}));

    // The surface reduces what it draws to its palette.
    Surface s(2, 2);
    s.DrawImage(td, 0, 0);
    EXPECT_EQ(s.Pixel(0, 0), Red);
    EXPECT_EQ(s.Pixel(0, 1), Blue);
    EXPECT_EQ(s.Pixel(1, 1), Lime) << "(30,200,10) is nearest to lime";
}

TEST(BitmapRead, BadFilesGiveMessagesNotPictures) {
    const QByteArray good = Bmp(3, 2, 4, 0, Bytes({0x12, 0x30, 0, 0, 0x01, 0x20, 0, 0}), kFour);
    QString err;

    EXPECT_TRUE(Read(QByteArray(), &err).isNull());
    EXPECT_TRUE(err.contains("test.bmp"));
    EXPECT_TRUE(Read(QByteArray("hello, this is not a picture at all"), &err).isNull());
    EXPECT_TRUE(Read(good.left(20), &err).isNull());
    EXPECT_TRUE(Read(good.left(good.size() - 5), &err).isNull()) << "truncated pixel data";

    // PNG bytes are not a bitmap file.
    QImage png(2, 2, QImage::Format_RGB32);
    png.fill(Qt::red);
    QByteArray pngBytes;
    QBuffer pb(&pngBytes);
    pb.open(QIODevice::WriteOnly);
    png.save(&pb, "PNG");
    EXPECT_TRUE(Read(pngBytes, &err).isNull());

    // Declared sizes beyond 32767 are refused with a message that says so.
    EXPECT_TRUE(Read(Bmp(40000, 1, 24, 0, QByteArray(120000, '\0')), &err).isNull());
    EXPECT_TRUE(err.contains("32767")) << err.toStdString();
    EXPECT_TRUE(Read(Bmp(1, -40000, 8, 0, QByteArray(160000, '\0'), kFour), &err).isNull());
    EXPECT_TRUE(err.contains("32767"));

    // A huge declared picture in a tiny file is refused before decoding.
    EXPECT_TRUE(Read(Bmp(30000, 30000, 24, 0, QByteArray(16, '\0')), &err).isNull());
    // Compressed data cannot be checked by size; the memory limit stops it.
    const int limit = BitmapMemoryLimit();
    SetBitmapMemoryLimit(1);
    EXPECT_TRUE(Read(Bmp(2000, 2000, 8, 1, Bytes({0, 1}), kFour), &err).isNull());
    SetBitmapMemoryLimit(limit);
    EXPECT_FALSE(Read(Bmp(2000, 2000, 8, 1, Bytes({0, 1}), kFour)).isNull());

    // ... unless it is run-length data that cannot hold the declared size:
    // 1 KB declaring 16000 x 16000 is refused before decoding.
    EXPECT_TRUE(Read(Bmp(16000, 16000, 8, 1, QByteArray(1024, '\x01'), kFour), &err).isNull());
    EXPECT_TRUE(err.contains(QStringLiteral("16000 x 16000"))) << err.toStdString();
    EXPECT_TRUE(Read(Bmp(16000, 16000, 4, 2, QByteArray(1024, '\x01'), kFour), &err).isNull());

    EXPECT_TRUE(Read(Bmp(0, 5, 8, 0, QByteArray(), kFour), &err).isNull());
    EXPECT_TRUE(Read(Bmp(-3, 5, 8, 0, QByteArray(16, '\0'), kFour), &err).isNull());
    EXPECT_TRUE(err.contains("-3")) << err.toStdString();
    EXPECT_TRUE(Read(Bmp(2, 2, 7, 0, QByteArray(8, '\0')), &err).isNull());

    // Files: missing, and a real one.
    QTemporaryDir dir;
    // Both readers word a file they cannot open alike.
    const QString none = dir.filePath("none.bmp");
    for (auto read : {&ReadBitmapFile, &ReadPictureFile}) {
        EXPECT_TRUE(read(none, &err).isNull());
        EXPECT_EQ(err, QDir::toNativeSeparators(none) + QStringLiteral(" が見つかりません。"));
        EXPECT_TRUE(read(dir.path(), &err).isNull());
        EXPECT_TRUE(err.startsWith(QDir::toNativeSeparators(dir.path()) +
                                   QStringLiteral(" を開けません。(")))
            << err.toStdString();
    }
    QFile f(dir.filePath("ok.bmp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(good);
    f.close();
    EXPECT_FALSE(ReadBitmapFile(f.fileName(), &err).isNull());
}

TEST(BitmapWrite, FourBitFileWithTheStandardPalette) {
    Surface s(3, 2);
    s.SetPixel(0, 0, White);
    s.SetPixel(1, 0, Red);
    s.SetPixel(2, 0, Navy);
    s.SetPixel(0, 1, Lime);
    s.SetPixel(2, 1, Magenta);
    QTemporaryDir dir;
    const QString path = dir.filePath("s.bmp");
    QString err;
    ASSERT_TRUE(WriteSurfaceBitmap(s, path, &err)) << err.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray got = f.readAll();

    QByteArray want("BM");
    Put32(want, 118 + 8);
    Put32(want, 0);
    Put32(want, 118);
    Put32(want, 40);
    Put32(want, 3);
    Put32(want, 2);
    Put16(want, 1);
    Put16(want, 4);
    Put32(want, 0);
    Put32(want, 8);
    Put32(want, 0);
    Put32(want, 0);
    Put32(want, 16);
    Put32(want, 0);
    want += Bytes({0,   0,   0,   0, 0,   0, 128, 0, 0,   128, 0, 0, 0,   128, 128, 0,
                   128, 0,   0,   0, 128, 0, 128, 0, 128, 128, 0, 0, 192, 192, 192, 0,
                   128, 128, 128, 0, 0,   0, 255, 0, 0,   255, 0, 0, 0,   255, 255, 0,
                   255, 0,   0,   0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 0});
    want += Bytes({0xA0, 0xD0, 0, 0, 0xF9, 0x40, 0, 0});  // bottom row first
    EXPECT_EQ(got.toHex().toStdString(), want.toHex().toStdString());
}

TEST(BitmapWrite, EveryPaletteIndexSurvivesARoundTrip) {
    QTemporaryDir dir;
    for (int w : {16, 17, 21, 24}) {
        Surface s(w, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < w; ++x) s.SetPixel(x, y, uint8_t((x * 7 + y * 3) % 16));
        const QString path = dir.filePath(QStringLiteral("r%1.bmp").arg(w));
        QString err;
        ASSERT_TRUE(WriteSurfaceBitmap(s, path, &err)) << err.toStdString();
        const QImage img = ReadBitmapFile(path, &err);
        ASSERT_FALSE(img.isNull()) << err.toStdString();
        Surface back(w, 5);
        back.Fill(Grey);
        back.DrawImage(img, 0, 0);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(back.Pixel(x, y), s.Pixel(x, y)) << w << ":" << x << "," << y;
    }
}

TEST(BitmapWrite, FailedWritesKeepTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();

    QString err;
    EXPECT_FALSE(WriteSurfaceBitmap(Surface(), path, &err));
    EXPECT_FALSE(err.isEmpty());
    EXPECT_FALSE(WriteSurfaceBitmap(Surface(2, 2), dir.filePath("no/such/dir/x.bmp"), &err));
    EXPECT_TRUE(err.contains("x.bmp"));
    EXPECT_FALSE(WriteBitmapFile(QImage(), path, &err));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
    f.close();

    // A successful write replaces it.
    EXPECT_TRUE(WriteSurfaceBitmap(Surface(2, 2), path, &err));
    EXPECT_FALSE(ReadBitmapFile(path, &err).isNull());
}
