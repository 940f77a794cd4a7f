#include "georef/GeoRefFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamWriter>
#include <cmath>

namespace georef {

const char* MethodName(Method m) {
    switch (m) {
        case Method::Poly2:
            return "poly2";
        case Method::Poly3:
            return "poly3";
        case Method::Tps:
            return "tps";
        default:
            return "affine";
    }
}

bool MethodFromName(const QString& name, Method* m) {
    for (Method c : {Method::Affine, Method::Poly2, Method::Poly3, Method::Tps})
        if (name == QLatin1String(MethodName(c))) {
            *m = c;
            return true;
        }
    return false;
}

namespace {

const QLatin1String kFormat("velmot-transform");
constexpr qint64 kMaxBytes = 4 << 20;

QByteArray Number(double v) {
    return QByteArray::number(v, 'g', QLocale::FloatingPointShortest);
}

bool Finite(const std::array<double, 6>& a) {
    for (double v : a)
        if (!std::isfinite(v)) return false;
    return true;
}

// The first version kept the import's fit as its parameters; they are an
// affine transform like any other.
bool FromVersion1(const QJsonObject& o, GeoRef& g) {
    const bool geographic = o.value("geographic").toBool();
    const double c = geographic ? o.value("cosLat").toDouble(1.0) : 1.0;
    const double minX = o.value("minX").toDouble(), maxY = o.value("maxY").toDouble();
    const double scale = o.value("scale").toDouble(), margin = o.value("margin").toDouble();
    if (!(scale > 0) || !std::isfinite(scale) || !(c > 0) || !std::isfinite(c)) return false;
    g.wkt = o.value("wkt").toString();
    g.hasAffine = true;
    g.affine = {(minX - margin / scale) / c,
                1.0 / (scale * c),
                0.0,
                maxY + margin / scale,
                0.0,
                -1.0 / scale};
    return Finite(g.affine);
}

// The same name with another ending: NAME.bmp -> NAME.<ext>.
QString Beside(const QString& path, const char* ext) {
    const QFileInfo fi(path);
    return fi.dir().filePath(fi.completeBaseName() + u'.' + QLatin1String(ext));
}

// The affine as a world file: the x and y steps, then the centre of the
// top-left pixel, which is where a point at (0, 0) lies.
QByteArray WorldFile(const std::array<double, 6>& a) {
    QByteArray s;
    for (double v : {a[1], a[4], a[2], a[5], a[0], a[3]}) s += Number(v) + "\r\n";
    return s;
}

// GDAL's own side file for a raster: the coordinate system and, for a warp,
// the control points (pixel and line count from the image's corner, so a
// point's pixel centre is half a pixel in).
QByteArray AuxXml(const GeoRef& g) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.writeStartElement("PAMDataset");
    if (g.Warped()) {
        w.writeStartElement("GCPList");
        if (!g.wkt.isEmpty()) w.writeAttribute("Projection", g.wkt);
        int id = 0;
        for (const ControlPoint& p : g.points) {
            ++id;
            if (!p.enabled) continue;
            w.writeEmptyElement("GCP");
            w.writeAttribute("Id", QString::number(id));
            w.writeAttribute("Pixel", QString::fromLatin1(Number(p.px + 0.5)));
            w.writeAttribute("Line", QString::fromLatin1(Number(p.py + 0.5)));
            w.writeAttribute("X", QString::fromLatin1(Number(p.x)));
            w.writeAttribute("Y", QString::fromLatin1(Number(p.y)));
        }
        w.writeEndElement();
    } else if (!g.wkt.isEmpty()) {
        w.writeTextElement("SRS", g.wkt);
    }
    w.writeEndElement();
    out += '\n';
    return out;
}

}  // namespace

QString JsonPathFor(const QString& workFile) {
    return workFile + QStringLiteral(".json");
}

QByteArray ToJson(const GeoRef& g) {
    QJsonObject o{{"format", kFormat}, {"version", 2}, {"crs", g.crs}, {"wkt", g.wkt}};
    if (g.hasAffine) {
        QJsonArray a;
        for (double v : g.affine) a.append(v);
        o["affine"] = a;
    }
    o["method"] = QLatin1String(MethodName(g.method));
    QJsonArray points;
    for (const ControlPoint& p : g.points)
        points.append(QJsonObject{{"pixel", QJsonArray{p.px, p.py}},
                                  {"map", QJsonArray{p.x, p.y}},
                                  {"enabled", p.enabled}});
    o["controlPoints"] = points;
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool FromJson(const QByteArray& bytes, GeoRef& out, QString* why) {
    auto fail = [&](const char* reason) {
        if (why) *why = QString::fromLatin1(reason);
        return false;
    };
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &err);
    if (!doc.isObject()) {
        if (why) *why = err.errorString();
        return false;
    }
    const QJsonObject o = doc.object();
    if (o.value("format").toString() != kFormat) return fail("not a velmot-transform");
    GeoRef g;
    const int version = o.value("version").toInt(1);
    if (version == 1) {
        if (!FromVersion1(o, g)) return fail("the transform divides by zero");
        out = g;
        return true;
    }
    if (version != 2) return fail("a later version");
    g.crs = o.value("crs").toString();
    g.wkt = o.value("wkt").toString();
    const QJsonArray a = o.value("affine").toArray();
    if (a.size() == 6) {
        g.hasAffine = true;
        for (int i = 0; i < 6; ++i) g.affine[size_t(i)] = a[i].toDouble(NAN);
        if (!Finite(g.affine)) return fail("the affine is not a number");
    } else if (!a.isEmpty()) {
        return fail("the affine needs six numbers");
    }
    if (!MethodFromName(o.value("method").toString(QStringLiteral("affine")), &g.method))
        return fail("unknown method");
    for (const QJsonValue& v : o.value("controlPoints").toArray()) {
        const QJsonObject p = v.toObject();
        const QJsonArray px = p.value("pixel").toArray(), map = p.value("map").toArray();
        ControlPoint c{px[0].toDouble(NAN), px[1].toDouble(NAN), map[0].toDouble(NAN),
                       map[1].toDouble(NAN), p.value("enabled").toBool(true)};
        if (px.size() != 2 || map.size() != 2 || !std::isfinite(c.px) || !std::isfinite(c.py) ||
            !std::isfinite(c.x) || !std::isfinite(c.y))
            return fail("a control point is not two pairs of numbers");
        g.points.push_back(c);
    }
    out = std::move(g);
    return true;
}

ReadState ReadBeside(const QString& file, GeoRef& g, QString* why) {
    QFile f(JsonPathFor(file));
    if (!f.exists()) return ReadState::Absent;
    if (!f.open(QIODevice::ReadOnly)) {
        if (why) *why = f.errorString();
        return ReadState::Unreadable;
    }
    if (f.size() > kMaxBytes) {
        if (why) *why = QStringLiteral("too large");
        return ReadState::Unreadable;
    }
    return FromJson(f.readAll(), g, why) ? ReadState::Read : ReadState::Unreadable;
}

std::vector<SideFile> SideFiles(const GeoRef& g, const QString& file, const QString& bitmap) {
    std::vector<SideFile> out;
    if (g.Empty()) return out;
    out.push_back({JsonPathFor(file), ToJson(g)});
    if (bitmap.isEmpty()) return out;
    if (!g.Warped() && g.hasAffine) out.push_back({Beside(bitmap, "bpw"), WorldFile(g.affine)});
    if (!g.wkt.isEmpty()) out.push_back({Beside(bitmap, "prj"), g.wkt.toUtf8() + "\r\n"});
    out.push_back({bitmap + QStringLiteral(".aux.xml"), AuxXml(g)});
    return out;
}

QStringList StaleSideFiles(const GeoRef& g, const QString& file, const QString& bitmap) {
    QStringList out;
    GeoRef old;
    if (ReadBeside(file, old, nullptr) != ReadState::Read) return out;
    if (g.Empty()) out << JsonPathFor(file);
    if (bitmap.isEmpty()) return out;
    // A warp keeps its points in the aux file; an old world file would
    // still be taken for the whole truth.
    if (g.Empty() || g.Warped() || !g.hasAffine) out << Beside(bitmap, "bpw");
    if (g.Empty()) out << bitmap + QStringLiteral(".aux.xml");
    if (g.wkt.isEmpty()) out << Beside(bitmap, "prj");
    for (qsizetype i = out.size() - 1; i >= 0; --i)
        if (!QFileInfo::exists(out[i])) out.removeAt(i);
    return out;
}

}  // namespace georef
