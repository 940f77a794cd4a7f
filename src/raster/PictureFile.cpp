#include "raster/PictureFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>

#include "base/Messages.h"
#include "raster/BitmapFile.h"

#ifdef VELMOT_WITH_PDF
#include <poppler-qt6.h>

#include <algorithm>
#include <cmath>
#endif

namespace {

QString Shown(const QString& name) {
    return QDir::toNativeSeparators(name);
}

QString NotAPicture(const QString& name, const QString& why) {
    return msg::Text(Msg::ImageUnreadable).arg(Shown(name), why);
}

QString TooLarge(const QString& name, QSize s) {
    return msg::Text(Msg::BitmapTooLarge)
        .arg(Shown(name))
        .arg(s.width())
        .arg(s.height())
        .arg(MaxBitmapSide);
}

// libjpeg fills what a cut file lacks with grey and only warns; Qt passes
// the warning on as a log message of its JPEG plugin, the one sign of it.
class CutJpegWatch {
  public:
    CutJpegWatch() : old_(qInstallMessageHandler(&CutJpegWatch::Handle)) { active_ = this; }
    ~CutJpegWatch() {
        qInstallMessageHandler(old_);
        active_ = nullptr;
    }
    CutJpegWatch(const CutJpegWatch&) = delete;
    CutJpegWatch& operator=(const CutJpegWatch&) = delete;
    bool Cut() const { return cut_; }

  private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        CutJpegWatch* self = active_;
        const bool jpeg = context.category && QByteArray(context.category).contains("jpeg");
        if (self && jpeg && text.contains(QLatin1String("premature end"), Qt::CaseInsensitive)) {
            self->cut_ = true;
            return;
        }
        if (self && self->old_) self->old_(type, context, text);
    }
    static inline CutJpegWatch* active_ = nullptr;
    QtMessageHandler old_;
    bool cut_ = false;
};

bool IsBitmap(QIODevice& dev) {
    return dev.peek(2) == QByteArrayLiteral("BM");
}

QImage ReadOther(QIODevice& dev, const QString& name, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return QImage();
    };
    if (dev.size() == 0) return fail(NotAPicture(name, msg::Text(Msg::BitmapEmptyFile)));
    QImageReader reader(&dev);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) return fail(NotAPicture(name, msg::Text(Msg::ImageFormatUnsupported)));
    // The size from the header alone: a picture too large for the map's
    // coordinates or for memory is refused before the decoder allocates it.
    const QSize declared = reader.size();
    if (declared.isValid()) {
        if (declared.width() > MaxBitmapSide || declared.height() > MaxBitmapSide)
            return fail(TooLarge(name, declared));
        if (qint64(declared.width()) * declared.height() * 4 >
            qint64(BitmapMemoryLimit()) * 1024 * 1024)
            return fail(msg::Text(Msg::BitmapTooLargeShort)
                            .arg(Shown(name))
                            .arg(declared.width())
                            .arg(declared.height()));
    }
    // Formats that cannot tell their size up front are held by Qt's own limit.
    const int oldLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(BitmapMemoryLimit());
    QImage img;
    bool cut = false;
    {
        CutJpegWatch watch;
        img = reader.read();
        cut = watch.Cut();
    }
    QImageReader::setAllocationLimit(oldLimit);
    if (img.isNull()) return fail(NotAPicture(name, reader.errorString()));
    if (cut) return fail(NotAPicture(name, msg::Text(Msg::BitmapCut)));
    if (img.width() > MaxBitmapSide || img.height() > MaxBitmapSide)
        return fail(TooLarge(name, img.size()));
    return img;
}

bool IsPdf(QIODevice& dev) {
    return dev.peek(1024).contains("%PDF-");
}

#ifdef VELMOT_WITH_PDF
// Scans saved as PDF are rendered at this resolution, or lower where the
// page would exceed the side or memory limits.
constexpr double PdfDpi = 300;

double PdfRenderDpi(QSizeF points) {
    double dpi =
        std::min(PdfDpi, (MaxBitmapSide - 1) * 72.0 / std::max(points.width(), points.height()));
    const double bytes = points.width() * points.height() * dpi * dpi / (72.0 * 72.0) * 4;
    const double limit = double(BitmapMemoryLimit()) * 1024 * 1024;
    if (bytes > limit) dpi *= std::sqrt(limit / bytes) * 0.99;
    return dpi;
}

// The first page's pixel size at the resolution it is rendered at; invalid
// when the document cannot say.
QSize PdfPixelSize(QIODevice& dev) {
    if (dev.size() > qint64(BitmapMemoryLimit()) * 1024 * 1024) return {};
    const std::unique_ptr<Poppler::Document> doc = Poppler::Document::loadFromData(dev.readAll());
    if (!doc || doc->isLocked() || doc->numPages() < 1) return {};
    const std::unique_ptr<Poppler::Page> page = doc->page(0);
    const QSizeF points = page ? page->pageSizeF() : QSizeF();
    if (!(points.width() > 0 && points.height() > 0)) return {};
    const double scale = PdfRenderDpi(points) / 72.0;
    return QSize(int(std::ceil(points.width() * scale)), int(std::ceil(points.height() * scale)));
}

// The first page of a PDF, through Poppler.
QImage ReadPdf(QIODevice& dev, const QString& name, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = NotAPicture(name, why);
        return QImage();
    };
    if (dev.size() > qint64(BitmapMemoryLimit()) * 1024 * 1024)
        return fail(msg::Text(Msg::ReasonTooBig));
    const std::unique_ptr<Poppler::Document> doc = Poppler::Document::loadFromData(dev.readAll());
    if (!doc) return fail(msg::Text(Msg::PdfUnreadable));
    // A locked document has no catalogue: asking it for pages would crash.
    if (doc->isLocked()) return fail(msg::Text(Msg::PdfLocked));
    if (doc->numPages() < 1) return fail(msg::Text(Msg::PdfUnreadable));
    const std::unique_ptr<Poppler::Page> page = doc->page(0);
    const QSizeF points = page ? page->pageSizeF() : QSizeF();
    if (!(points.width() > 0 && points.height() > 0)) return fail(msg::Text(Msg::PdfNoPageSize));
    const double dpi = PdfRenderDpi(points);
    doc->setRenderHint(Poppler::Document::Antialiasing, true);
    QImage img = page->renderToImage(dpi, dpi);
    if (img.isNull()) return fail(msg::Text(Msg::PdfNotRendered));
    return img;
}
#endif

QImage ReadAny(QIODevice& dev, const QString& name, QString* error) {
#ifdef VELMOT_WITH_PDF
    if (IsPdf(dev)) return ReadPdf(dev, name, error);
#endif
    return ReadOther(dev, name, error);
}

}  // namespace

QImage ReadPictureFile(const QString& path, QString* error) {
    QFile f(path);
    if (!OpenPictureFile(f, error)) return {};
    if (IsBitmap(f)) {
        f.close();
        return ReadBitmapFile(path, error);
    }
    return ReadAny(f, path, error);
}

QImage ReadPictureBytes(const QByteArray& bytes, const QString& name, QString* error) {
    QByteArray copy = bytes;  // shares the data; QBuffer needs a non-const array
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    if (IsBitmap(buf)) return ReadBitmapBytes(bytes, name, error);
    return ReadAny(buf, name, error);
}

QStringList PicturePatterns() {
    QStringList out{QStringLiteral("*.bmp")};
    for (const QByteArray& suffix : QImageReader::supportedImageFormats()) {
        const QString p = QStringLiteral("*.") + QString::fromLatin1(suffix).toLower();
        if (!out.contains(p)) out << p;
    }
#ifdef VELMOT_WITH_PDF
    out << QStringLiteral("*.pdf");
#endif
    return out;
}

QSize DeclaredPictureSize(const QString& path, int* bytesPerPixel) {
    int depth = 4;
    if (!bytesPerPixel) bytesPerPixel = &depth;
    *bytesPerPixel = 4;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    if (IsBitmap(f)) *bytesPerPixel = 0;
#ifdef VELMOT_WITH_PDF
    if (IsPdf(f)) {
        *bytesPerPixel = 8;
        return PdfPixelSize(f);
    }
#endif
    QImageReader reader(&f);
    reader.setDecideFormatFromContent(true);
    return reader.size();
}

bool PdfPictures() {
#ifdef VELMOT_WITH_PDF
    return true;
#else
    return false;
#endif
}

bool IsPictureFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    if (IsBitmap(f) || (PdfPictures() && IsPdf(f))) return true;
    QImageReader reader(&f);
    reader.setDecideFormatFromContent(true);
    return reader.canRead();
}
