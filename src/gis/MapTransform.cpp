#include "gis/MapTransform.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "base/Messages.h"
#include "base/SafeSave.h"

namespace gis {

QString TransformPathFor(const QString& workFile) {
    return workFile + QStringLiteral(".json");
}

QByteArray TransformText(const MapTransform& t) {
    const QJsonObject o{{"format", "velmot-transform"},
                        {"version", 1},
                        {"wkt", t.wkt},
                        {"geographic", t.geographic},
                        {"cosLat", t.cosLat},
                        {"minX", t.minX},
                        {"maxY", t.maxY},
                        {"scale", t.scale},
                        {"margin", t.margin},
                        {"width", t.width},
                        {"height", t.height}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool SaveTransform(const QString& path, const MapTransform& t, QString* error) {
    return safesave::WriteFile(path, TransformText(t), error);
}

bool LoadTransform(const QString& path, MapTransform& t) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > (1 << 20)) return false;
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    if (o.value("format").toString() != QLatin1String("velmot-transform")) return false;
    MapTransform r;
    r.wkt = o.value("wkt").toString();
    r.geographic = o.value("geographic").toBool();
    r.cosLat = o.value("cosLat").toDouble(1.0);
    r.minX = o.value("minX").toDouble();
    r.maxY = o.value("maxY").toDouble();
    r.scale = o.value("scale").toDouble();
    r.margin = o.value("margin").toDouble();
    r.width = o.value("width").toInt();
    r.height = o.value("height").toInt();
    // A transform that would divide by zero or produce nonsense is no transform.
    if (!(r.scale > 0) || !std::isfinite(r.scale) || !(r.cosLat > 0) || !std::isfinite(r.minX) ||
        !std::isfinite(r.maxY))
        return false;
    t = r;
    return true;
}

}  // namespace gis
