#include "gis/SourceLook.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QFileInfo>
#include <QStringDecoder>

#include "base/Messages.h"
#include "gis/GdalSession.h"

namespace gis {
namespace {

// Features read for the preview and for guessing an encoding: enough to
// meet a name with a non-ASCII letter, few enough to stay instant.
constexpr int kFeaturesLooked = 200;

// What a Shapefile's attribute table may be written in; the names are
// those GDAL's recoding takes.
const QStringList kEncodings = {QStringLiteral("UTF-8"), QStringLiteral("CP932"),
                                QStringLiteral("EUC-JP"), QStringLiteral("ISO-8859-1"),
                                QStringLiteral("CP1252")};

bool Polygonal(OGRwkbGeometryType t) {
    t = wkbFlatten(t);
    return OGR_GT_IsSubClassOf(t, wkbCurvePolygon) || OGR_GT_IsSubClassOf(t, wkbMultiSurface) ||
           t == wkbPolyhedralSurface || t == wkbTIN;
}

// The layer the import takes by default: the first declared to hold
// polygons, else the first of mixed type whose features hold one.
OGRLayer* DefaultLayer(GDALDataset& ds) {
    for (OGRLayer* layer : ds.GetLayers())
        if (Polygonal(layer->GetGeomType())) return layer;
    for (OGRLayer* layer : ds.GetLayers()) {
        if (wkbFlatten(layer->GetGeomType()) != wkbUnknown) continue;
        layer->ResetReading();
        for (const auto& f : *layer)
            if (const OGRGeometry* g = f->GetGeometryRef(); g && Polygonal(g->getGeometryType()))
                return layer;
    }
    return ds.GetLayerCount() > 0 ? ds.GetLayer(0) : nullptr;
}

GDALDatasetUniquePtr Open(const QString& path, const QString* encoding) {
    CPLStringList options;
    if (encoding) options.SetNameValue("ENCODING", encoding->toUtf8().constData());
    return GDALDatasetUniquePtr(GDALDataset::Open(
        path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, options.List()));
}

bool Decodes(const QByteArray& bytes, QStringDecoder&& dec) {
    (void)QString(dec(bytes));
    return !dec.hasError();
}

// The encoding a Shapefile's text bytes are in, as far as they tell: UTF-8
// when they read as it (ASCII alone tells nothing), else Shift-JIS (CP932)
// when they read as that, else empty.
QString GuessEncoding(const QString& path, const QString& layerName) {
    const QString raw;  // GDAL hands the bytes over unrecoded
    GDALDatasetUniquePtr ds = Open(path, &raw);
    if (!ds) return {};
    OGRLayer* layer = ds->GetLayerByName(layerName.toUtf8().constData());
    if (!layer) return {};
    QByteArray text;
    const OGRFeatureDefn* defn = layer->GetLayerDefn();
    layer->ResetReading();
    int n = 0;
    for (const auto& f : *layer) {
        for (int i = 0; i < defn->GetFieldCount(); ++i)
            if (defn->GetFieldDefn(i)->GetType() == OFTString && f->IsFieldSetAndNotNull(i))
                text += f->GetFieldAsString(i), text += '\n';
        if (++n >= kFeaturesLooked) break;
    }
    bool ascii = true;
    for (char c : text) ascii = ascii && (uchar(c) < 0x80);
    if (ascii) return {};
    if (Decodes(text, QStringDecoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless)))
        return QStringLiteral("UTF-8");
    if (Decodes(text, QStringDecoder("windows-31j", QStringConverter::Flag::Stateless)))
        return QStringLiteral("CP932");
    return {};
}

}  // namespace

void LookAtSource(const QString& path, ImportFields& f, int samples) {
    f.layers.clear();
    f.attributes.clear();
    f.encodings.clear();
    f.encodingFound.clear();
    f.error.clear();
    EnsureGdal();
    ClearGdalError();
    GdalFailureLog failures;
    const QFileInfo info(path);
    if (!info.exists()) {
        f.error = QStringLiteral("%1: %2").arg(path, msg::Text(Msg::ImportFileMissing));
        return;
    }
    // A pipe or a device would block the open; boundary data is a file or a folder.
    GDALDatasetUniquePtr ds =
        info.isFile() || info.isDir() ? Open(path, nullptr) : GDALDatasetUniquePtr();
    if (!ds) {
        const QString why = failures.Text();
        f.error = QStringLiteral("%1: %2").arg(
            path, msg::Text(Msg::ImportUnreadable)
                      .arg(why.isEmpty() ? msg::Text(Msg::ImportFormatUnknown) : why));
        return;
    }
    for (OGRLayer* l : ds->GetLayers()) f.layers << QString::fromUtf8(l->GetName());
    if (!f.layers.contains(f.layer)) {
        OGRLayer* l = DefaultLayer(*ds);
        f.layer = l ? QString::fromUtf8(l->GetName()) : QString();
    }
    if (f.layer.isEmpty()) {
        f.error = QStringLiteral("%1: %2").arg(path, msg::Text(Msg::ImportNoPolygonLayer));
        return;
    }

    const bool shapefile = QLatin1String(ds->GetDriverName()) == QLatin1String("ESRI Shapefile");
    if (shapefile) {
        OGRLayer* l = ds->GetLayerByName(f.layer.toUtf8().constData());
        // A .cpg names the encoding; without one the bytes are looked at
        // before the table's language byte, which most writers leave at
        // "ANSI" whatever they wrote.
        f.encodingFound = QString::fromUtf8(l->GetMetadataItem("ENCODING_FROM_CPG", "SHAPEFILE"));
        if (f.encodingFound.isEmpty()) f.encodingFound = GuessEncoding(path, f.layer);
        if (f.encodingFound.isEmpty())
            f.encodingFound = QString::fromUtf8(l->GetMetadataItem("SOURCE_ENCODING", "SHAPEFILE"));
        f.encodings = kEncodings;
        if (!f.encodingFound.isEmpty() && !f.encodings.contains(f.encodingFound, Qt::CaseInsensitive))
            f.encodings.prepend(f.encodingFound);
        if (f.encoding.isEmpty())
            f.encoding = f.encodingFound.isEmpty() ? QStringLiteral("UTF-8") : f.encodingFound;
        ds = Open(path, &f.encoding);
        if (!ds) {
            f.error = QStringLiteral("%1: %2").arg(path, msg::Text(Msg::ImportUnreadable).arg(failures.Text()));
            return;
        }
    } else {
        f.encoding.clear();  // the format says how its text is written
    }

    OGRLayer* layer = ds->GetLayerByName(f.layer.toUtf8().constData());
    const OGRFeatureDefn* defn = layer->GetLayerDefn();
    QString firstText;
    for (int i = 0; i < defn->GetFieldCount(); ++i) {
        const OGRFieldDefn* d = defn->GetFieldDefn(i);
        f.attributes.push_back({QString::fromUtf8(d->GetNameRef()), {}});
        if (firstText.isEmpty() && d->GetType() == OFTString) firstText = f.attributes.back().name;
    }
    layer->ResetReading();
    int n = 0;
    for (const auto& feature : *layer) {
        bool more = false;
        for (int i = 0; i < defn->GetFieldCount(); ++i) {
            QStringList& shown = f.attributes[size_t(i)].preview;
            if (shown.size() >= samples) continue;
            more = true;
            if (feature->IsFieldSetAndNotNull(i))
                shown << QString::fromUtf8(feature->GetFieldAsString(i)).simplified();
        }
        if (!more || ++n >= kFeaturesLooked) break;
    }
    bool offered = false;
    for (const ImportAttribute& a : f.attributes) offered = offered || a.name == f.nameField;
    if (!offered) f.nameField = firstText;
}

}  // namespace gis
