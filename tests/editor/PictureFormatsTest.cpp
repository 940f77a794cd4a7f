// Under-drawings from any format: the same picture as from a bitmap, and
// hostile headers refused before anything is decoded.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>

#include "base/Messages.h"
#include "raster/BitmapFile.h"
#include "raster/PictureFile.h"
#include "raster/SurfaceBudget.h"
#include "support/FakeUi.h"

namespace {

// A picture with many colours, so the reduction to 16 has something to do.
QImage Scan() {
    QImage img(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb(x * 5, y * 8, (x ^ y) * 7));
    return img;
}

// What the editor stores after loading path as the under-drawing.
QImage Loaded(const QString& path) {
    TestEditor t;
    t.ui.files = {path};
    t.ed.picture.LoadBMPClick();
    EXPECT_TRUE(t.st().BasePicLoaded) << path.toStdString() << " " << t.ui.LastText().toStdString();
    return ReadBitmapFile(t.ed.temps.picture, nullptr);
}

uint32_t Crc32(const QByteArray& b) {
    uint32_t c = 0xFFFFFFFFu;
    for (char ch : b) {
        c ^= uint8_t(ch);
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

void Be32(QByteArray& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.append(char((v >> s) & 0xFF));
}

void Chunk(QByteArray& png, const QByteArray& type, const QByteArray& data) {
    Be32(png, uint32_t(data.size()));
    png += type + data;
    Be32(png, Crc32(type + data));
}

// A PNG whose header claims w x h, followed by a few bytes of pixel data.
QByteArray PngHeader(uint32_t w, uint32_t h) {
    QByteArray head;
    Be32(head, w);
    Be32(head, h);
    head.append("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    Chunk(png, "IHDR", head);
    Chunk(png, "IDAT", QByteArray("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9));
    Chunk(png, "IEND", {});
    return png;
}

// A little-endian TIFF directory claiming w x h, with a ten-byte strip.
QByteArray TiffHeader(uint32_t w, uint32_t h) {
    QByteArray t("II*\0\x08\0\0\0", 8);
    auto le16 = [&t](uint16_t v) { t.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto le32 = [&t](uint32_t v) {
        for (int s = 0; s < 32; s += 8) t.append(char((v >> s) & 0xFF));
    };
    const uint32_t tags[][3] = {{256, 4, w},   {257, 4, h}, {258, 3, 8}, {259, 3, 1}, {262, 3, 1},
                                {273, 4, 200}, {277, 3, 1}, {278, 4, h}, {279, 4, 10}};
    le16(uint16_t(std::size(tags)));
    for (const auto& tag : tags) {
        le16(uint16_t(tag[0]));
        le16(uint16_t(tag[1]));
        le32(1);
        if (tag[1] == 3) {
            le16(uint16_t(tag[2]));
            le16(0);
        } else {
            le32(tag[2]);
        }
    }
    le32(0);
    t.append(QByteArray(210 - t.size(), '\0'));
    return t;
}

}  // namespace

TEST(PictureFormats, PngJpegTiffLoadAsTheSameImageSavedAsBitmap) {
    QTemporaryDir dir;
    for (const char* fmt : {"png", "jpg", "tiff", "webp"}) {
        SCOPED_TRACE(fmt);
        if (!QImageReader::supportedImageFormats().contains(fmt)) {
            ADD_FAILURE() << fmt << " is not readable: qt6-image-formats-plugins missing?";
            continue;
        }
        // The file is named .dat: the content, not the name, tells the format.
        const QString path = dir.filePath(QStringLiteral("scan-%1.dat").arg(fmt));
        ASSERT_TRUE(Scan().save(path, fmt));
        const QString bmp = dir.filePath(QStringLiteral("scan-%1.bmp").arg(fmt));
        ASSERT_TRUE(QImage(path, fmt).save(bmp, "BMP"));
        const QImage fromScan = Loaded(path), fromBitmap = Loaded(bmp);
        ASSERT_FALSE(fromBitmap.isNull());
        EXPECT_EQ(fromScan, fromBitmap);
    }
}

TEST(PictureFormats, HostileHeadersAreRefusedBeforeDecoding) {
    QString error;
    // Correct as far as the header goes, so only the declared size can stop them.
    EXPECT_TRUE(
        ReadPictureBytes(PngHeader(100000, 100000), QStringLiteral("big.png"), &error).isNull());
    EXPECT_TRUE(error.contains(QStringLiteral("100000 x 100000"))) << error.toStdString();
    error.clear();
    EXPECT_TRUE(
        ReadPictureBytes(TiffHeader(100000, 100000), QStringLiteral("big.tif"), &error).isNull());
    EXPECT_TRUE(error.contains(QStringLiteral("100000 x 100000"))) << error.toStdString();

    // Within the sides but over the memory limit.
    SetBitmapMemoryLimit(16);
    error.clear();
    EXPECT_TRUE(
        ReadPictureBytes(PngHeader(4000, 4000), QStringLiteral("wide.png"), &error).isNull());
    EXPECT_TRUE(error.contains(QStringLiteral("4000 x 4000"))) << error.toStdString();
    SetBitmapMemoryLimit(2048);

    // Through the command: told, and the traced data is never asked for.
    TestEditor t;
    t.Chain({{10, 10}, {20, 20}});
    const std::pair<const char*, QByteArray> files[] = {
        {"big.png", PngHeader(100000, 100000)}, {"empty.png", {}}, {"notes.txt", "not a picture"}};
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        QFile f(t.Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        t.ui.messages.clear();
        t.ui.files = {t.Path(name)};
        t.ed.picture.LoadBMPClick();
        ASSERT_EQ(t.ui.messages.size(), 1u);
        EXPECT_EQ(t.ui.messages[0].kind, ShownMessage::Info);
        EXPECT_EQ(t.st().PointLast, 3);
        EXPECT_FALSE(t.st().BasePicLoaded);
    }
}

TEST(PictureFormats, APdfScanGivesItsFirstPage) {
    if (!PdfPictures()) GTEST_SKIP() << "built without Poppler";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scan.pdf"));
    {
        // A page two inches by one: black on its left half; a second page all black.
        QPdfWriter pdf(path);
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QSizeF(2, 1), QPageSize::Inch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p(&pdf);
        p.fillRect(QRect(0, 0, 300, 300), Qt::black);
        pdf.newPage();
        p.fillRect(QRect(0, 0, 600, 300), Qt::black);
    }
    EXPECT_TRUE(IsPictureFile(path));  // a drop onto the window takes it
    const QImage stored = Loaded(path);
    ASSERT_EQ(stored.size(), QSize(600, 300));
    // The negative, as for any scan: black ink light, white paper dark.
    EXPECT_EQ(stored.pixel(10, 150), qRgb(255, 255, 255));
    EXPECT_EQ(stored.pixel(590, 150), qRgb(0, 0, 0));
}

namespace {
// A one-page PDF; with `locked`, encrypted under a user password nobody
// knows (the check value is not the empty password's).
QByteArray SmallPdf(bool locked) {
    QByteArray pdf = "%PDF-1.4\n";
    std::vector<int> at;
    auto obj = [&](const QByteArray& body) {
        at.push_back(int(pdf.size()));
        pdf += QByteArray::number(at.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    obj("<< /Type /Catalog /Pages 2 0 R >>");
    obj("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    obj("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 72 36] >>");
    if (locked)
        obj("<< /Filter /Standard /V 1 /R 2 /P -4 /O <" + QByteArray(64, 'a') + "> /U <" +
            QByteArray(64, 'b') + "> >>");
    const int xref = int(pdf.size());
    pdf += "xref\n0 " + QByteArray::number(at.size() + 1) + "\n0000000000 65535 f \n";
    for (int o : at) pdf += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(at.size() + 1) + " /Root 1 0 R";
    if (locked) pdf += " /Encrypt 4 0 R /ID [<0123456789abcdef0123456789abcdef> <0123456789abcdef0123456789abcdef>]";
    pdf += " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}
}  // namespace

TEST(PictureFormats, ALockedOrBrokenPdfIsRefusedWithItsReason) {
    if (!PdfPictures()) GTEST_SKIP() << "built without Poppler";
    QString error;
    EXPECT_FALSE(ReadPictureBytes(SmallPdf(false), QStringLiteral("ok.pdf"), &error).isNull())
        << error.toStdString();
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
        Msg reason;
    } cases[] = {{"locked.pdf", SmallPdf(true), Msg::PdfLocked},
                 {"broken.pdf", "%PDF-1.4\n1 0 obj << /Type /Catalog", Msg::PdfUnreadable}};
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        EXPECT_TRUE(IsPictureFile(path));  // a drop offers it to the same reader
        TestEditor t;
        t.ui.files = {path};
        t.ed.picture.LoadBMPClick();
        EXPECT_FALSE(t.st().BasePicLoaded) << c.name;
        EXPECT_TRUE(t.ui.LastText().contains(msg::Text(c.reason))) << t.ui.LastText().toStdString();
    }
}

TEST(PictureFormats, SmallFilesThatExpandAreAskedAboutFirstAndACutJpegIsRefused) {
    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    };
    // A few hundred bytes each, a picture 6000 px square: 36 MB of surface.
    QStringList expanding;
    if (QImageReader::supportedImageFormats().contains("svg"))
        expanding << write("big.svg",
                           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"6000\" height=\"6000\">"
                           "<rect width=\"10\" height=\"10\"/></svg>");
    if (PdfPictures())
        expanding << write("big.pdf", SmallPdf(false).replace("[0 0 72 36]", "[0 0 1440 1440]"));
    SurfaceBudget& budget = CurrentSurfaceBudget();
    const SurfaceBudget kept = budget;
    budget.bytes = 16 << 20;
    for (const QString& path : expanding) {
        EXPECT_EQ(DeclaredPictureSize(path), QSize(6000, 6000)) << path.toStdString();
        // From the menu and named from outside (command line, recent files).
        for (bool named : {false, true}) {
            TestEditor t;
            t.ui.files = {path};
            t.ui.answers = {false};
            if (named)
                EXPECT_FALSE(t.ed.OpenByContent(path));
            else
                t.ed.picture.LoadBMPClick();
            EXPECT_FALSE(t.st().BasePicLoaded);
            ASSERT_FALSE(t.ui.messages.empty()) << path.toStdString();
            EXPECT_EQ(t.ui.messages.back().kind, ShownMessage::YesNo);
            EXPECT_TRUE(t.ui.LastText().contains("6000 x 6000")) << t.ui.LastText().toStdString();
        }
    }
    budget = kept;
    if (PdfPictures()) {  // a PDF named from outside, within the budget
        TestEditor t;
        EXPECT_TRUE(t.ed.OpenByContent(write("page.pdf", SmallPdf(false))));
        EXPECT_TRUE(t.st().BasePicLoaded);
    }

    // A JPEG cut short decodes with its missing part grey; libjpeg only warns.
    QByteArray jpeg;
    {
        QBuffer buf(&jpeg);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(Scan().scaled(480, 320).save(&buf, "JPEG", 90));
    }
    QString error;
    EXPECT_FALSE(ReadPictureFile(write("whole.jpg", jpeg), &error).isNull());
    EXPECT_TRUE(ReadPictureFile(write("cut.jpg", jpeg.left(jpeg.size() / 2)), &error).isNull());
    EXPECT_TRUE(error.contains(msg::Text(Msg::BitmapCut))) << error.toStdString();

    // A folder is said to be one, not missing.
    TestEditor t;
    EXPECT_FALSE(t.ed.OpenByContent(dir.path()));
    EXPECT_EQ(t.ui.LastText(), msg::Format(Msg::OpenFolder, {dir.path()}));
}
