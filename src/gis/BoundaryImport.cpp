#include "gis/BoundaryImport.h"

#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>

#include "base/Messages.h"
#include "base/SafeSave.h"
#include "formats/WorkFormat.h"
#include "gis/BoundaryNoder.h"
#include "gis/GdalSession.h"
#include "ops/Simplify.h"
#include "text/ShiftJis.h"

namespace gis {
namespace {

// The composition traces slots 0..9 only; a position in the last slot would
// never become an outline.
constexpr int kTracedSlots = Store::Slots - 1;
constexpr double kMinDistance = 2.0;  // pixels between a position and any line
// The least: a line's pixels lie within half a pixel of it (a diagonal's
// within 0.71), so a pixel this far off is no line's.
constexpr double kLeastDistance = 0.75;
// Metres to the far side of the earth are 2e7; a thousand times a metre
// scale in millimetres still fits.
constexpr double kFarthestCoordinate = 1e12;
// What an import costs per vertex of the source, at its peak: the source's
// geometry, our copy, the noding's and the positions' (measured on grids and
// the world map, the noding's share growing with the pixel size).
constexpr int64_t kBytesPerVertex = 400;

// Vertices of a geometry as the source holds them, rings and parts summed.
int64_t VertexCount(OGRGeometryH g) {
    const int n = OGR_G_GetGeometryCount(g);
    if (n <= 0) return OGR_G_GetPointCount(g);
    int64_t sum = 0;
    for (int i = 0; i < n; ++i) sum += VertexCount(OGR_G_GetGeometryRef(g, i));
    return sum;
}

struct Feature {
    long long fid = 0;
    QString name;
    std::vector<Part> parts;
};

bool IsPolygonal(OGRwkbGeometryType t) {
    switch (wkbFlatten(t)) {
        case wkbPolygon:
        case wkbMultiPolygon:
        case wkbCurvePolygon:
        case wkbMultiSurface:
        case wkbPolyhedralSurface:
        case wkbTIN:
            return true;
        default:
            return false;
    }
}

// The first layer holding polygons: by its declared type, or for layers of
// mixed type by the first feature that has one.
OGRLayer* PolygonLayer(GDALDataset& ds) {
    for (OGRLayer* layer : ds.GetLayers())
        if (IsPolygonal(layer->GetGeomType())) return layer;
    for (OGRLayer* layer : ds.GetLayers()) {
        if (wkbFlatten(layer->GetGeomType()) != wkbUnknown) continue;
        layer->ResetReading();
        for (const auto& f : *layer) {
            const OGRGeometry* g = f->GetGeometryRef();
            if (g && IsPolygonal(g->getGeometryType())) {
                layer->ResetReading();
                return layer;
            }
        }
    }
    return nullptr;
}

Ring ReadRing(const OGRLinearRing* ring) {
    Ring r;
    if (!ring) return r;
    r.reserve(size_t(ring->getNumPoints()));
    for (int i = 0; i < ring->getNumPoints(); ++i) r.emplace_back(ring->getX(i), ring->getY(i));
    if (!r.empty() && r.front() != r.back()) r.push_back(r.front());
    return r;
}

// Where a point lies against a closed ring, by the even-odd rule; a point on
// one of its edges is on it.
enum class Side { Outside, On, Inside };
Side SideOf(const QPointF& p, const Ring& ring) {
    bool inside = false;
    for (size_t i = 1; i < ring.size(); ++i) {
        const QPointF& a = ring[i - 1];
        const QPointF& b = ring[i];
        const double cross = (b.x() - a.x()) * (p.y() - a.y()) - (b.y() - a.y()) * (p.x() - a.x());
        if (cross == 0 && std::min(a.x(), b.x()) <= p.x() && p.x() <= std::max(a.x(), b.x()) &&
            std::min(a.y(), b.y()) <= p.y() && p.y() <= std::max(a.y(), b.y()))
            return Side::On;
        if ((a.y() > p.y()) != (b.y() > p.y()) &&
            p.x() < a.x() + (p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y()))
            inside = !inside;
    }
    return inside ? Side::Inside : Side::Outside;
}

// A hole lying outside its shell (touching it at most) cuts nothing out of
// the area and, far off, would stretch the map past its coordinates. One
// corner or edge middle inside the shell is enough to keep it.
bool HoleInsideShell(const Ring& hole, const Ring& shell) {
    for (size_t i = 0; i + 1 < hole.size(); ++i)
        if (SideOf(hole[i], shell) == Side::Inside ||
            SideOf((hole[i] + hole[i + 1]) / 2, shell) == Side::Inside)
            return true;
    return false;
}

struct ReadCounts {
    int degenerate = 0;    // rings of fewer than three points
    int holesOutside = 0;  // holes outside their shell
};

// The polygons of one geometry; curves are linearised.
std::vector<Part> ReadParts(const OGRGeometry* g, ReadCounts& counts) {
    std::vector<Part> parts;
    std::unique_ptr<OGRGeometry> linear(g->hasCurveGeometry() ? g->getLinearGeometry()
                                                              : g->clone());
    std::unique_ptr<OGRGeometry> multi(OGRGeometryFactory::forceToMultiPolygon(linear.release()));
    const auto* mp = dynamic_cast<const OGRMultiPolygon*>(multi.get());
    if (!mp) return parts;
    for (const OGRPolygon* poly : *mp) {
        Part p;
        p.shell = ReadRing(poly->getExteriorRing());
        if (p.shell.size() < 4) {
            ++counts.degenerate;
            continue;
        }
        for (int i = 0; i < poly->getNumInteriorRings(); ++i) {
            Ring h = ReadRing(poly->getInteriorRing(i));
            if (h.size() < 4)
                ++counts.degenerate;
            else if (!HoleInsideShell(h, p.shell))
                ++counts.holesOutside;
            else
                p.holes.push_back(std::move(h));
        }
        parts.push_back(std::move(p));
    }
    return parts;
}

// A name as a work file can hold it: line breaks and other control
// characters would break the file's lines, so they become spaces; a letter
// Shift-JIS lacks loses its accents where that leaves one it has (ô -> o).
QString StorableName(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (QChar c : name) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            out += u' ';
            continue;
        }
        bool lossless = true;
        sjis::FromUnicode(QString(c), &lossless);
        if (lossless || c.isSurrogate()) {
            out += c;
            continue;
        }
        QString plain;
        for (QChar d : QString(c).normalized(QString::NormalizationForm_KD))
            if (d.category() != QChar::Mark_NonSpacing) plain += d;
        sjis::FromUnicode(plain, &lossless);
        out += lossless && !plain.isEmpty() ? plain : QString(c);
    }
    return out;
}

QString FieldList(const OGRFeatureDefn* defn) {
    QStringList names;
    for (int i = 0; i < defn->GetFieldCount(); ++i)
        names << QString::fromUtf8(defn->GetFieldDefn(i)->GetNameRef());
    return names.isEmpty() ? msg::Text(Msg::WordNone) : names.join(QStringLiteral(", "));
}

}  // namespace

bool ImportBoundaries(const QString& input, const ImportOptions& options, Store& st,
                      ImportResult& r) {
    r = ImportResult{};
    EnsureGdal();
    ClearGdalError();
    GdalFailureLog gdalFailures;
    auto fail = [&](const QString& text) {
        r.error = QStringLiteral("%1: %2").arg(input, text);
        return false;
    };
    const QFileInfo info(input);
    if (!info.exists()) return fail(msg::Text(Msg::ImportFileMissing));
    // A pipe with no writer, a device or a socket would block the open or
    // never end; boundary data is a file or a folder of files.
    if (!info.isFile() && !info.isDir())
        return fail(msg::Text(Msg::ImportUnreadable).arg(msg::Text(Msg::ImportFormatUnknown)));
    if (options.width < 50 || options.height < 50 || options.width > 32767 ||
        options.height > 32767)
        return fail(msg::Text(Msg::ImportSizeBad));
    CPLStringList openOptions;
    if (!options.encoding.isEmpty())
        openOptions.SetNameValue("ENCODING", options.encoding.toUtf8().constData());
    GDALDatasetUniquePtr ds(GDALDataset::Open(input.toUtf8().constData(),
                                              GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr,
                                              openOptions.List()));
    if (!ds) {
        // GDAL says nothing when no driver takes the file at all.
        const QString why = gdalFailures.Text();
        return fail(msg::Text(Msg::ImportUnreadable)
                        .arg(why.isEmpty() ? msg::Text(Msg::ImportFormatUnknown) : why));
    }
    OGRLayer* layer = options.layer.isEmpty()
                          ? PolygonLayer(*ds)
                          : ds->GetLayerByName(options.layer.toUtf8().constData());
    if (!layer) {
        QStringList names;
        for (OGRLayer* l : ds->GetLayers()) names << QString::fromUtf8(l->GetName());
        return fail(msg::Text(Msg::ImportNoPolygonLayer) +
                    (options.layer.isEmpty()
                         ? QString()
                         : QStringLiteral(" (%1: %2)").arg(options.layer, names.join(u','))));
    }
    r.layer = QString::fromUtf8(layer->GetName());
    const OGRFeatureDefn* defn = layer->GetLayerDefn();

    int nameIndex = -1;
    if (!options.nameField.isEmpty()) {
        nameIndex = defn->GetFieldIndex(options.nameField.toUtf8().constData());
        if (nameIndex < 0)
            return fail(msg::Text(Msg::ImportNoField).arg(options.nameField, FieldList(defn)));
    } else {
        for (int i = 0; i < defn->GetFieldCount() && nameIndex < 0; ++i)
            if (defn->GetFieldDefn(i)->GetType() == OFTString) nameIndex = i;
    }
    if (nameIndex >= 0)
        r.nameField = QString::fromUtf8(defn->GetFieldDefn(nameIndex)->GetNameRef());

    // Every polygon feature, in the source's coordinates.
    std::vector<Feature> features;
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    layer->ResetReading();
    // The whole layer's features when the driver knows them without reading.
    const GIntBig total = layer->GetFeatureCount(FALSE);
    for (const auto& f : *layer) {
        ++r.features;
        const OGRGeometry* g = f->GetGeometryRef();
        // Refused as soon as the vertices read so far, reckoned over the
        // whole layer, would take more than allowed: a large source would
        // otherwise cost gigabytes and minutes before any other check.
        if (g) r.vertices += VertexCount(OGRGeometry::ToHandle(const_cast<OGRGeometry*>(g)));
        if (options.maxBytes > 0 && r.vertices * kBytesPerVertex > options.maxBytes / 2) {
            const int64_t reckoned =
                total > r.features ? r.vertices * int64_t(total) / r.features : r.vertices;
            if (reckoned * kBytesPerVertex > options.maxBytes) {
                r.overBudget = true;
                r.vertices = reckoned;
                r.neededBytes = reckoned * kBytesPerVertex;
                return fail(msg::Format(Msg::ImportOverBudget,
                                        {QString::number(reckoned),
                                         QString::number((r.neededBytes + (1 << 20) - 1) >> 20),
                                         QString::number(options.maxBytes >> 20)}));
            }
        }
        Feature feat;
        feat.fid = f->GetFID();
        feat.name = nameIndex >= 0 ? QString::fromUtf8(f->GetFieldAsString(nameIndex))
                                   : QString::number(feat.fid);
        if (!g || g->IsEmpty() || !IsPolygonal(g->getGeometryType())) {
            r.notes << msg::Text(Msg::ImportNotPolygon).arg(feat.fid).arg(feat.name);
            continue;
        }
        ReadCounts counts;
        feat.parts = ReadParts(g, counts);
        if (counts.degenerate > 0)
            r.notes << msg::Format(Msg::ImportDegenerate,
                                   {QString::number(feat.fid), feat.name,
                                    QString::number(counts.degenerate)});
        if (counts.holesOutside > 0)
            r.notes << msg::Format(Msg::ImportHoleOutside,
                                   {QString::number(feat.fid), feat.name,
                                    QString::number(counts.holesOutside)});
        for (const Part& p : feat.parts) {
            auto extend = [&](const Ring& ring) {
                for (const QPointF& q : ring) {
                    if (!std::isfinite(q.x()) || !std::isfinite(q.y())) return false;
                    minX = std::min(minX, q.x()), maxX = std::max(maxX, q.x());
                    minY = std::min(minY, q.y()), maxY = std::max(maxY, q.y());
                }
                return true;
            };
            bool finite = extend(p.shell);
            for (const Ring& h : p.holes) finite = finite && extend(h);
            if (!finite) return fail(msg::Text(Msg::ImportBadCoordinates).arg(feat.fid));
            // Beyond this no coordinate system on earth reaches, and the
            // extent would lose every detail to rounding (or overflow).
            const double far = std::max({-minX, maxX, -minY, maxY});
            if (far > kFarthestCoordinate)
                return fail(msg::Format(Msg::ImportCoordinatesHuge,
                                        {QString::number(feat.fid), QString::number(far, 'g', 6),
                                         QString::number(kFarthestCoordinate, 'g', 6)}));
        }
        if (feat.parts.empty()) continue;
        if (int(features.size()) >= Store::MaxAreas)
            return fail(msg::Text(Msg::ImportTooManyAreas).arg(Store::MaxAreas));
        features.push_back(std::move(feat));
    }
    if (CPLGetLastErrorType() >= CE_Failure)
        return fail(msg::Text(Msg::ImportReadError)
                        .arg(gdalFailures.Text().isEmpty() ? LastGdalError() : gdalFailures.Text()));
    if (features.empty()) return fail(msg::Text(Msg::ImportNoPolygons));

    // Fit the extent into the pixel box, keeping the aspect ratio. Longitudes
    // shrink with the cosine of the middle latitude, so that shapes keep
    // their proportions there.
    MapTransform& t = r.transform;
    const OGRSpatialReference* srs = layer->GetSpatialRef();
    if (srs) {
        char* wkt = nullptr;
        if (srs->exportToWkt(&wkt) == OGRERR_NONE && wkt) t.wkt = QString::fromUtf8(wkt);
        CPLFree(wkt);
        // GeoJSON always claims longitudes and latitudes; data beyond their
        // range (such as our own pixel exports) is taken as it is.
        t.geographic =
            srs->IsGeographic() && minX >= -360 && maxX <= 360 && minY >= -90 && maxY <= 90;
        if (!t.geographic && srs->IsGeographic()) t.wkt.clear();
    }
    // Data crossing the antimeridian (Fiji, the Aleutians, Chukotka) would
    // otherwise span the globe: western longitudes move past 180 when that
    // leaves the data in one narrower range.
    if (t.geographic && maxX - minX > 180) {
        double lo = HUGE_VAL, hi = -HUGE_VAL;
        for (const Feature& f : features)
            for (const Part& p : f.parts) {
                auto widen = [&](const Ring& ring) {
                    for (const QPointF& q : ring) {
                        const double x = q.x() < 0 ? q.x() + 360 : q.x();
                        lo = std::min(lo, x), hi = std::max(hi, x);
                    }
                };
                widen(p.shell);
                for (const Ring& h : p.holes) widen(h);
            }
        if (hi - lo < maxX - minX - 1e-9) {
            bool moved = false;
            auto shift = [&moved](Ring& ring) {
                for (QPointF& q : ring)
                    if (q.x() < 0) q.setX(q.x() + 360), moved = true;
            };
            QStringList names;
            for (Feature& f : features) {
                moved = false;
                for (Part& p : f.parts) {
                    shift(p.shell);
                    for (Ring& h : p.holes) shift(h);
                }
                if (moved) r.shifted.push_back({f.fid, f.name}), names << f.name;
            }
            r.notes << msg::Format(Msg::ImportShifted, {QString::number(names.size()),
                                                        names.join(QStringLiteral(", "))});
            minX = lo, maxX = hi;
        }
    }
    if (t.geographic) {
        const double mid = (minY + maxY) / 2 * M_PI / 180;
        t.cosLat = std::max(0.01, std::cos(mid));
    }
    const double sMinX = t.geographic ? minX * t.cosLat : minX;
    const double sMaxX = t.geographic ? maxX * t.cosLat : maxX;
    const double dx = sMaxX - sMinX, dy = maxY - minY;
    t.margin = std::min(20, std::min(options.width, options.height) / 10);
    const double boxW = options.width - 2 * t.margin - 1, boxH = options.height - 2 * t.margin - 1;
    if (!(dx > 0) && !(dy > 0)) return fail(msg::Text(Msg::ImportNoExtent));
    t.scale = std::min(dx > 0 ? boxW / dx : HUGE_VAL, dy > 0 ? boxH / dy : HUGE_VAL);
    t.minX = sMinX;
    t.maxY = maxY;
    t.width = std::min(options.width, int(std::ceil(dx * t.scale + 2 * t.margin)) + 1);
    t.height = std::min(options.height, int(std::ceil(dy * t.scale + 2 * t.margin)) + 1);
    for (Feature& f : features)
        for (Part& p : f.parts) {
            for (QPointF& q : p.shell) q = t.ToPixel(q.x(), q.y());
            for (Ring& h : p.holes)
                for (QPointF& q : h) q = t.ToPixel(q.x(), q.y());
        }

    BoundaryNoder noder;
    std::vector<const Part*> all;
    for (const Feature& f : features)
        for (const Part& p : f.parts) all.push_back(&p);
    r.parts = int(all.size());
    {
        // Said before anything is built: the composition would only find
        // two positions in one region, or a region without its outline.
        std::vector<std::vector<const Part*>> byFeature;
        std::vector<QString> names;
        for (const Feature& f : features) {
            std::vector<const Part*>& parts = byFeature.emplace_back();
            for (const Part& p : f.parts) parts.push_back(&p);
            names.push_back(f.name);
        }
        for (const auto& pair : noder.OverlappingFeatures(byFeature, names)) {
            const Feature &a = features[pair.first], &b = features[pair.second];
            const QString fa = QString::number(a.fid), fb = QString::number(b.fid);
            using Relation = BoundaryNoder::Relation;
            switch (pair.relation) {
                case Relation::SameShape:
                    r.overlaps.push_back({QStringLiteral("same-shape"), {a.fid, a.name}, {b.fid, b.name}});
                    r.notes << msg::Format(Msg::ImportSameShape, {fa, a.name, fb, b.name});
                    break;
                case Relation::SameNameOverlapping:
                    r.overlaps.push_back({QStringLiteral("same-name"), {a.fid, a.name}, {b.fid, b.name}});
                    r.notes << msg::Format(Msg::ImportSameNameOverlap, {fa, fb, a.name});
                    break;
                case Relation::Inside:
                    r.overlaps.push_back({QStringLiteral("inside"), {a.fid, a.name}, {b.fid, b.name}});
                    r.notes << msg::Format(Msg::ImportInside, {fa, a.name, fb, b.name});
                    break;
            }
        }
    }
    QString error;
    if (!noder.Node(all, error)) return fail(error);

    // One separator ahead of every chain and one after the last.
    int64_t listLength = 1;
    for (const std::vector<Rec>& c : noder.Chains()) listLength += int64_t(c.size()) + 1;
    r.chains = int(noder.Chains().size());
    // Only a simplification could bring a longer list within the store.
    if (options.simplify <= 0 && listLength > Store::Capacity)
        return fail(msg::Text(Msg::ImportTooManyPoints).arg(Store::Capacity));

    // Areas: one per feature, a position in each of its largest parts.
    std::vector<std::array<Rec, Store::Slots>> positions(features.size());
    QStringList belowPixel, withoutPosition;
    std::vector<std::string> names(features.size());
    for (size_t i = 0; i < features.size(); ++i) {
        const Feature& f = features[i];
        bool lossless = true;
        const std::string bytes = sjis::FromUnicode(StorableName(f.name), &lossless);
        names[i].assign(sjis::CutToBytes(bytes, Store::NameBytes));
        const QString stored = sjis::ToUnicode(names[i]);
        if (stored != f.name)
            r.notes << msg::Text(Msg::ImportNameChanged).arg(f.fid).arg(f.name, stored);

        std::vector<std::pair<double, const Part*>> bySize;
        for (const Part& p : f.parts) bySize.push_back({noder.Area(p), &p});
        std::stable_sort(bySize.begin(), bySize.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        int slot = 0, tooSmall = 0, dropped = 0;
        double smallest = HUGE_VAL;  // pixels², of the parts left without a position
        for (const auto& [area, part] : bySize) {
            if (slot >= kTracedSlots) {
                ++dropped;
                continue;
            }
            // A small part still gets the clearest pixel it has, as long as
            // no line can be drawn through that pixel.
            auto pos = noder.InteriorPosition(*part, kMinDistance);
            if (!pos) pos = noder.InteriorPosition(*part, kLeastDistance);
            if (pos) {
                positions[i][size_t(slot++)] = *pos;
            } else {
                ++tooSmall;
                smallest = std::min(smallest, area);
            }
        }
        r.positions += slot;
        if (tooSmall > 0) {
            // About three pixels across would hold a position.
            const double k = 3.0 / std::sqrt(std::max(smallest, 1e-6));
            const int w = int(std::min(32767.0, std::ceil(options.width * k)));
            const int h = int(std::min(32767.0, std::ceil(options.height * k)));
            belowPixel << msg::Format(Msg::ImportBelowPixel,
                                      {QString::number(f.fid), stored, QString::number(tooSmall),
                                       QString::number(w), QString::number(h)});
        }
        if (slot == 0) withoutPosition << stored;
        if (dropped > 0)
            r.notes << msg::Text(Msg::ImportPartsDropped)
                           .arg(f.fid)
                           .arg(stored)
                           .arg(kTracedSlots)
                           .arg(dropped);
    }

    // Listed last, so that no per-feature line hides them.
    r.notes << belowPixel;
    if (!withoutPosition.isEmpty())
        r.notes << msg::Format(
            Msg::ImportWithoutPosition,
            {QString::number(withoutPosition.size()), withoutPosition.join(QStringLiteral(", "))});
    // Each chain runs from node to node, so simplifying it on its own keeps
    // the border two areas share one line.
    std::vector<std::vector<QPoint>> edges;
    edges.reserve(noder.Chains().size());
    for (const std::vector<Rec>& c : noder.Chains()) {
        std::vector<QPoint>& e = edges.emplace_back();
        e.reserve(c.size());
        for (Rec q : c) e.emplace_back(q.x, q.y);
    }
    if (options.simplify > 0) {
        std::vector<QPoint> keep;
        for (const auto& held : positions)
            for (Rec q : held)
                if (q.x != 0 || q.y != 0) keep.emplace_back(q.x, q.y);
        ops::SimplifyPlanar(edges, options.simplify, keep);
        r.pointsBeforeSimplify = int(std::min<int64_t>(listLength, INT_MAX));
    }
    std::vector<Rec> points{Rec{}};
    for (const std::vector<QPoint>& e : edges) {
        if (int64_t(points.size()) + int64_t(e.size()) + 1 > Store::Capacity)
            return fail(msg::Text(Msg::ImportTooManyPoints).arg(Store::Capacity));
        for (QPoint q : e) points.push_back(Rec{int16_t(q.x()), int16_t(q.y())});
        points.push_back(Rec{});
    }
    r.points = int(points.size());
    if (!st.AssignPoints(points))
        return fail(msg::Text(Msg::ImportTooManyPoints).arg(Store::Capacity));
    st.KindLast = -1;
    st.AreaCount = int16_t(features.size());
    for (size_t i = 0; i < features.size(); ++i) {
        const int a = int(i) + 1;
        st.SetAreaName(a, names[i]);
        for (int k = 0; k < Store::Slots; ++k) st.AreaPos(k, a) = positions[i][size_t(k)];
    }
    st.MapTitle.assign(sjis::CutToBytes(sjis::FromUnicode(r.layer), 255));
    st.MapWidth = int16_t(t.width);
    st.MapHeight = int16_t(t.height);
    st.Geo = ToGeoRef(t);
    st.ForgetComposition();
    r.areas = int(features.size());
    return true;
}

}  // namespace gis
