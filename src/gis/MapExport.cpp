#include "gis/MapExport.h"

#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>
#include <sys/resource.h>
#include <sys/statvfs.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <cerrno>
#include <climits>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>

#include "base/Messages.h"
#include "base/SafeSave.h"
#include "compose/Composer.h"
#include "gis/GdalSession.h"
#include "gis/GroundTransform.h"
#include "gis/MapDrawing.h"
#include "text/ShiftJis.h"

namespace gis {

std::optional<ExportFormat> FormatForPath(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("geojson") || ext == QLatin1String("json"))
        return ExportFormat::GeoJson;
    if (ext == QLatin1String("shp")) return ExportFormat::Shapefile;
    if (ext == QLatin1String("gpkg")) return ExportFormat::GeoPackage;
    if (ext == QLatin1String("svg")) return ExportFormat::Svg;
    if (ext == QLatin1String("pdf")) return ExportFormat::Pdf;
    if (ext == QLatin1String("png")) return ExportFormat::Png;
    return std::nullopt;
}

namespace {
// The side files a Shapefile may have besides the .shp; an export writes or
// replaces them as one set with it.
constexpr const char* kShapeSides[] = {"shx", "dbf", "prj", "cpg", "qix", "sbn", "sbx", "qpj"};
}  // namespace

QStringList ExportSideFiles(const QString& path) {
    QStringList out;
    if (FormatForPath(path) != ExportFormat::Shapefile) return out;
    const QFileInfo info(path);
    for (const char* ext : kShapeSides)
        out << info.dir().filePath(info.completeBaseName() + u'.' + QLatin1String(ext));
    return out;
}

QString ExportFilter() {
    return QStringLiteral(
        "GeoJSON (*.geojson);;Shapefile (*.shp);;GeoPackage (*.gpkg);;SVG (*.svg);;"
        "PDF (*.pdf);;PNG (*.png)");
}

std::vector<AreaOutlines> ComposedOutlines(const Store& st) {
    std::vector<AreaOutlines> out;
    if (!st.Completed) return out;
    int32_t i = 0;
    // The next chain of the point list, from i on.
    auto nextChain = [&](std::vector<Rec>& chain) {
        chain.clear();
        while (i <= st.PointLast && st.PointX(i) == 0) ++i;
        while (i <= st.PointLast && st.PointX(i) != 0) chain.push_back(st.Point(i++));
        return !chain.empty();
    };
    for (int a = 1; a <= st.AreaCount; ++a) {
        AreaOutlines o;
        o.area = a;
        o.name = sjis::ToUnicode(st.AreaName(a));
        o.label = st.AreaPos(0, a);
        const int traced = compose::TracedSlots(st, a);
        for (int k = 0; k < traced; ++k) {
            std::vector<Rec> ring;
            if (!nextChain(ring) || ring.size() < 4 || !(ring.front() == ring.back()))
                return {};  // not the list a composition leaves
            o.rings.push_back(std::move(ring));
        }
        out.push_back(std::move(o));
    }
    return out;
}

namespace {

struct RingRef {
    size_t area, ring;
    QRect box;
};

QRect Box(const std::vector<Rec>& ring) {
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    for (Rec p : ring)
        x0 = std::min<int>(x0, p.x), y0 = std::min<int>(y0, p.y), x1 = std::max<int>(x1, p.x),
        y1 = std::max<int>(y1, p.y);
    return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

// Even-odd test of a point against a closed ring; on the ring counts as not inside.
bool Inside(Rec p, const std::vector<Rec>& ring) {
    bool in = false;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const Rec a = ring[i], b = ring[j];
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x = a.x + double(p.y - a.y) * (b.x - a.x) / double(b.y - a.y);
            if (p.x < x) in = !in;
        }
    }
    return in;
}

// Whether ring s lies inside ring r: the rings of a composed map never cross,
// so one vertex of s off r decides.
bool RingInside(const std::vector<Rec>& s, const QRect& sBox, const std::vector<Rec>& r,
                const QRect& rBox) {
    if (!rBox.contains(sBox) || sBox == rBox) return false;
    for (Rec p : s) {
        bool onR = false;
        for (Rec q : r) onR = onR || q == p;
        if (!onR) return Inside(p, r);
    }
    return false;
}

// Fills in every ring's holes: the rings of other areas inside it that are
// not inside another ring inside it.
void FindHoles(std::vector<AreaOutlines>& areas) {
    std::vector<RingRef> all;
    for (size_t a = 0; a < areas.size(); ++a) {
        areas[a].holes.assign(areas[a].rings.size(), {});
        for (size_t k = 0; k < areas[a].rings.size(); ++k)
            all.push_back({a, k, Box(areas[a].rings[k])});
    }
    auto ring = [&](const RingRef& x) -> const std::vector<Rec>& {
        return areas[x.area].rings[x.ring];
    };
    for (const RingRef& outer : all) {
        std::vector<const RingRef*> inside;
        for (const RingRef& s : all)
            if (&s != &outer && RingInside(ring(s), s.box, ring(outer), outer.box))
                inside.push_back(&s);
        for (const RingRef* s : inside) {
            if (s->area == outer.area) continue;  // an island in a lake of the same area
            bool direct = true;
            for (const RingRef* t : inside)
                direct = direct && !(t != s && RingInside(ring(*s), s->box, ring(*t), t->box));
            if (!direct) continue;
            // Holes run the other way round.
            std::vector<Rec> hole(ring(*s).rbegin(), ring(*s).rend());
            areas[outer.area].holes[outer.ring].push_back(std::move(hole));
        }
    }
}

// A disk with next to no room left.
bool NearlyFull(const QString& dir) {
    struct statvfs fs {};
    return ::statvfs(QFile::encodeName(dir).constData(), &fs) == 0 &&
           uint64_t(fs.f_bavail) * fs.f_frsize < (uint64_t(1) << 16);
}

// GDAL's failures while one export runs into dir, the first one's text kept:
// GDAL's last-error slot can be overwritten by a later warning. A failure
// from a full disk is known as one at the moment it happens, by the system's
// error number or by the room left then (the driver's temporary files still
// there); the driver's own words ("database or disk is full", "corrupt")
// would not say it.
struct GdalFailures {
    QString first;
    QString dir;
    int count = 0;
    int full = 0;  // ENOSPC, EDQUOT or EFBIG: the disk, the quota or the file-size limit
    explicit GdalFailures(const QString& into) : dir(into) {
        CPLPushErrorHandlerEx(&GdalFailures::Handle, this);
    }
    ~GdalFailures() { CPLPopErrorHandler(); }
    GdalFailures(const GdalFailures&) = delete;
    GdalFailures& operator=(const GdalFailures&) = delete;
    static void CPL_STDCALL Handle(CPLErr cls, CPLErrorNum, const char* text) {
        const int err = errno;
        auto* self = static_cast<GdalFailures*>(CPLGetErrorHandlerUserData());
        if (cls < CE_Failure) return;
        if (self->count++ == 0) self->first = QString::fromUtf8(text);
#ifdef EDQUOT
        if (!self->full && err == EDQUOT) self->full = err;
#endif
        if (!self->full && (err == ENOSPC || err == EFBIG)) self->full = err;
        if (!self->full && NearlyFull(self->dir)) self->full = ENOSPC;
    }
};

// A file of dir cut at the process's file-size limit: that fails writes as a
// full disk does, leaving the disk itself with room.
bool AtFileSizeLimit(const QString& dir) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return false;
    for (const QFileInfo& f : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden))
        if (uint64_t(f.size()) >= uint64_t(limit.rlim_cur)) return true;
    return false;
}

// Why a write into dir failed: a full disk by its name, else the library's
// words, else the system's for a failed write.
QString WriteReason(const QString& dir, const GdalFailures& failures) {
    if (failures.full) return safesave::Reason(failures.full);
    if (NearlyFull(dir)) return safesave::Reason(ENOSPC);
    return failures.first.isEmpty() ? safesave::Reason(EIO) : failures.first;
}

// Reads the written file back: a driver that does not check its writes
// leaves a cut file that only reading finds.
bool ReadsBack(const QByteArray& path, int features) {
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!ds || ds->GetLayerCount() != 1) return false;
    int n = 0;
    for (const auto& f : *ds->GetLayer(0)) {
        if (!f->GetGeometryRef()) return false;
        ++n;
    }
    return n == features;
}

// A ring that touches itself (an outline pinched at a point) is no valid
// polygon; GIS tools reject it or mend it wrongly. GEOS splits it as OGC
// requires, into separate polygons or a hole. Null when g is valid already
// or cannot be mended into polygons.
std::unique_ptr<OGRGeometry> Valid(const OGRGeometry& g) {
    if (g.IsValid()) return nullptr;
    std::unique_ptr<OGRGeometry> fixed(g.MakeValid());
    if (!fixed) return nullptr;
    auto polygons = std::make_unique<OGRMultiPolygon>();
    std::function<void(const OGRGeometry&)> take = [&](const OGRGeometry& part) {
        switch (wkbFlatten(part.getGeometryType())) {
            case wkbPolygon:
                polygons->addGeometry(&part);
                break;
            case wkbMultiPolygon:
            case wkbGeometryCollection:
                for (const OGRGeometry* sub : *part.toGeometryCollection()) take(*sub);
                break;
            default:
                break;  // lines and points left of a collapsed stretch
        }
    };
    take(*fixed);
    if (polygons->IsEmpty() || !polygons->IsValid()) return nullptr;
    if (polygons->getNumGeometries() == 1)
        return std::unique_ptr<OGRGeometry>(polygons->getGeometryRef(0)->clone());
    return polygons;
}

// Exterior rings counter-clockwise and holes clockwise, as GeoJSON wants
// and the simple-feature formats accept.
void Orient(OGRGeometry& g) {
    auto polygon = [](OGRPolygon& p) {
        for (int i = 0; i <= p.getNumInteriorRings(); ++i) {
            OGRLinearRing* ring = i == 0 ? p.getExteriorRing() : p.getInteriorRing(i - 1);
            if (ring && ring->isClockwise() == (i == 0)) ring->reverseWindingOrder();
        }
    };
    if (wkbFlatten(g.getGeometryType()) == wkbPolygon)
        polygon(*g.toPolygon());
    else if (wkbFlatten(g.getGeometryType()) == wkbMultiPolygon)
        for (OGRPolygon* p : *g.toMultiPolygon()) polygon(*p);
}

// A warp bends straight pixel segments: a vertex at least every this many
// pixels lets the outline follow it.
constexpr double kDensifyStep = 8.0;

bool WriteVector(std::vector<AreaOutlines> outlines, const georef::GeoRef* geo, const QString& path,
                 ExportFormat format, ExportResult& r) {
    EnsureGdal();
    std::unique_ptr<GroundTransform> ground;
    if (geo) {
        ground = std::make_unique<GroundTransform>(*geo);
        if (!ground->Ok()) {
            r.error = msg::Format(Msg::GeoRefNotSolvable, {ground->Error()});
            return false;
        }
    }
    const GroundTransform* t = ground.get();
    ClearGdalError();
    const QFileInfo info(path);
    GdalFailures failures(info.absolutePath());
    FindHoles(outlines);
    const char* driverName = format == ExportFormat::GeoJson     ? "GeoJSON"
                             : format == ExportFormat::Shapefile ? "ESRI Shapefile"
                                                                 : "GPKG";
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName);
    if (!driver) {
        r.error = msg::Text(Msg::ExportFormatMissing).arg(QLatin1String(driverName));
        return false;
    }
    QTemporaryDir tmp(info.absolutePath() + QStringLiteral("/.velmot-export-XXXXXX"));
    if (!tmp.isValid()) {
        // Qt's words for a folder not made are English, or "Unknown error".
        const int err = errno;
        r.error = msg::Text(Msg::FileNotWritable)
                      .arg(path, NearlyFull(info.absolutePath()) ? safesave::Reason(ENOSPC)
                                 : err                           ? safesave::Reason(err)
                                                                 : tmp.errorString());
        return false;
    }
    const QByteArray tmpPath = tmp.filePath(info.fileName()).toUtf8();
    auto failed = [&] {
        if (!failures.full && AtFileSizeLimit(tmp.path())) failures.full = EFBIG;
        r.error = msg::Text(Msg::FileNotWritable)
                      .arg(path, WriteReason(info.absolutePath(), failures));
        return false;
    };
    {
        GDALDatasetUniquePtr ds(driver->Create(tmpPath.constData(), 0, 0, 0, GDT_Unknown, nullptr));
        if (!ds) {
            return failed();
        }
        OGRSpatialReference srs;
        const bool withSrs = geo && !geo->wkt.isEmpty() &&
                             srs.importFromWkt(geo->wkt.toUtf8().constData()) == OGRERR_NONE;
        srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        CPLStringList options;
        if (format == ExportFormat::Shapefile) options.SetNameValue("ENCODING", "UTF-8");
        // Pixel coordinates are whole numbers; without a transform no digits
        // after the point are needed.
        if (format == ExportFormat::GeoJson && !t)
            options.SetNameValue("COORDINATE_PRECISION", "0");
        // GeoJSON is longitude and latitude on WGS 84 with exterior rings
        // counter-clockwise (RFC 7946): the driver reprojects and orients.
        if (format == ExportFormat::GeoJson && withSrs) options.SetNameValue("RFC7946", "YES");
        OGRLayer* layer = ds->CreateLayer(
            info.completeBaseName().toUtf8().constData(), withSrs ? &srs : nullptr,
            format == ExportFormat::Shapefile ? wkbPolygon : wkbUnknown, options.List());
        OGRFieldDefn name("name", OFTString), area("area", OFTInteger);
        name.SetWidth(80);
        if (!layer || layer->CreateField(&name) != OGRERR_NONE ||
            layer->CreateField(&area) != OGRERR_NONE) {
            return failed();
        }
        bool outside = false;  // a vertex the warp gives no place
        auto ringOf = [&](const std::vector<Rec>& ring) {
            auto* lr = new OGRLinearRing;
            auto add = [&](double px, double py) {
                double x = px, y = -py;
                if (t && !t->ToGround(px, py, x, y)) outside = true;
                lr->addPoint(x, y);
            };
            for (size_t i = 0; i < ring.size(); ++i) {
                if (i > 0 && t && !t->Linear()) {
                    const double dx = ring[i].x - ring[i - 1].x, dy = ring[i].y - ring[i - 1].y;
                    const int steps = int(std::ceil(std::hypot(dx, dy) / kDensifyStep));
                    for (int k = 1; k < steps; ++k)
                        add(ring[i - 1].x + dx * k / steps, ring[i - 1].y + dy * k / steps);
                }
                add(ring[i].x, ring[i].y);
            }
            return lr;
        };
        // One transaction for all features (GeoPackage would commit each).
        const bool transaction = ds->StartTransaction() == OGRERR_NONE;
        for (const AreaOutlines& a : outlines) {
            if (a.rings.empty()) {
                r.withoutOutline << a.name;
                continue;
            }
            OGRFeatureUniquePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
            f->SetField("name", a.name.toUtf8().constData());
            f->SetField("area", a.area);
            auto polygonOf = [&](size_t k) {
                auto* poly = new OGRPolygon;
                poly->addRingDirectly(ringOf(a.rings[k]));
                for (const auto& hole : a.holes[k]) poly->addRingDirectly(ringOf(hole));
                return poly;
            };
            std::unique_ptr<OGRGeometry> geometry;
            if (a.rings.size() == 1) {
                geometry.reset(polygonOf(0));
            } else {
                auto multi = std::make_unique<OGRMultiPolygon>();
                for (size_t k = 0; k < a.rings.size(); ++k)
                    multi->addGeometryDirectly(polygonOf(k));
                geometry = std::move(multi);
            }
            if (auto valid = Valid(*geometry)) {
                geometry = std::move(valid);
                r.mended << a.name;
            }
            Orient(*geometry);
            f->SetGeometryDirectly(geometry.release());
            if (outside) {
                r.error = msg::Format(Msg::GeoRefNotSolvable, {a.name});
                return false;
            }
            if (layer->CreateFeature(f.get()) != OGRERR_NONE) {
                return failed();
            }
            ++r.features;
            r.rings += int(a.rings.size());
        }
        if (transaction && ds->CommitTransaction() != OGRERR_NONE) {
            return failed();
        }
        // Closing writes what the driver buffered; its failures show as errors.
        ds.reset();
    }
    if (failures.count > 0 || !ReadsBack(tmpPath, r.features)) return failed();

    // Into place as one set, old side files no longer written included, so a
    // stale .prj never claims the wrong coordinates and a failure keeps the
    // whole old set.
    std::vector<std::unique_ptr<safesave::StagedFile>> set;
    const QDir target = info.absoluteDir();
    for (const QFileInfo& e : QDir(tmp.path()).entryInfoList(QDir::Files | QDir::Hidden)) {
        set.push_back(std::make_unique<safesave::StagedFile>(target.filePath(e.fileName())));
        if (!set.back()->Adopt(e.filePath())) {
            r.error = set.back()->ErrorText();
            return false;
        }
    }
    for (const QString& side : ExportSideFiles(path)) {
        const QString name = QFileInfo(side).fileName();
        if (QFileInfo::exists(tmp.filePath(name)) || !QFileInfo::exists(target.filePath(name)))
            continue;
        set.push_back(std::make_unique<safesave::StagedFile>(target.filePath(name)));
        set.back()->RemoveOnCommit();
    }
    std::vector<safesave::StagedFile*> files;
    for (auto& f : set) files.push_back(f.get());
    return safesave::CommitAll(files, &r.error);
}

bool WriteDrawing(const Store& st, const std::vector<AreaOutlines>& outlines, const QString& path,
                  ExportFormat format, ExportResult& r) {
    const int w = std::max<int>(1, st.MapWidth), h = std::max<int>(1, st.MapHeight);
    const QString title = sjis::ToUnicode(st.MapTitle);
    auto fill = [&](QIODevice& file) {
        bool ok = true;
        if (format == ExportFormat::Png) {
            QImage image(w, h, QImage::Format_RGB32);
            if (image.isNull()) return false;  // no memory for it
            image.fill(Qt::white);
            {
                QPainter p(&image);
                DrawMap(p, st, outlines, QRectF(0, 0, w, h));
            }
            ok = image.save(&file, "PNG");
        } else if (format == ExportFormat::Svg) {
            QSvgGenerator svg;
            svg.setOutputDevice(&file);
            svg.setSize(QSize(w, h));
            svg.setViewBox(QRect(0, 0, w, h));
            svg.setTitle(title);
            QPainter p;
            ok = p.begin(&svg);
            if (ok) {
                DrawMap(p, st, outlines, QRectF(0, 0, w, h));
                ok = p.end();
            }
        } else {
            QPdfWriter pdf(&file);
            pdf.setTitle(title);
            pdf.setCreator(QStringLiteral("Velmot"));
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageOrientation(w > h ? QPageLayout::Landscape : QPageLayout::Portrait);
            pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
            pdf.setResolution(300);
            QPainter p;
            ok = p.begin(&pdf);
            if (ok) {
                DrawMap(p, st, outlines, QRectF(0, 0, pdf.width(), pdf.height()));
                ok = p.end();
            }
        }
        return ok;
    };
    if (!safesave::WriteFile(path, fill, &r.error)) return false;
    for (const AreaOutlines& a : outlines)
        if (!a.rings.empty()) ++r.features, r.rings += int(a.rings.size());
    return true;
}

}  // namespace

bool ExportMap(const Store& st, const georef::GeoRef* geo, const QString& path, ExportFormat format,
               ExportResult& r) {
    r = ExportResult{};
    const std::vector<AreaOutlines> outlines = ComposedOutlines(st);
    if (outlines.empty()) {
        r.error = msg::Text(Msg::ExportNotComposed);
        return false;
    }
    switch (format) {
        case ExportFormat::GeoJson:
        case ExportFormat::Shapefile:
        case ExportFormat::GeoPackage:
            return WriteVector(outlines, geo, path, format, r);
        default:
            return WriteDrawing(st, outlines, path, format, r);
    }
}

}  // namespace gis
