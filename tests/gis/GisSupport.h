// Helpers for the import and export tests: hand-made boundary files, the
// work file an import wrote, and a check that a network is properly noded.
#pragma once

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "../compose/ComposeSupport.h"
#include "formats/WorkFormat.h"
#include "support/CliRun.h"

namespace gistest {

inline QString WriteText(const QTemporaryDir& dir, const char* name, const QByteArray& text) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text);
    return path;
}

// A GeoJSON FeatureCollection of polygons given as "[[[x,y],...]]" texts.
inline QByteArray Collection(const std::vector<std::pair<QString, QByteArray>>& features) {
    QByteArray s = "{\"type\":\"FeatureCollection\",\"features\":[";
    for (size_t i = 0; i < features.size(); ++i) {
        const QByteArray& g = features[i].second;
        const bool multi = g.startsWith("[[[[");
        s += (i ? "," : "");
        s += "{\"type\":\"Feature\",\"properties\":{\"NAME\":\"" + features[i].first.toUtf8() +
             "\",\"POP\":" + QByteArray::number(int(i)) + "},\"geometry\":{\"type\":\"" +
             (multi ? "MultiPolygon" : "Polygon") + "\",\"coordinates\":" + g + "}}";
    }
    return s + "]}";
}

inline WorkData ReadWork(const QString& path) {
    WorkData d;
    QString error;
    EXPECT_TRUE(ReadWorkFile(path, d, &error)) << error.toStdString();
    return d;
}

inline QJsonObject Json(const CliRun& r) {
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

// Where two segments of the network meet other than at a shared vertex;
// empty when the network is properly noded.
inline QString NodingFault(const std::vector<ctest::Chain>& chains) {
    struct Seg {
        Rec a, b;
    };
    std::vector<Seg> segs;
    for (const auto& c : chains)
        for (size_t i = 1; i < c.size(); ++i) segs.push_back({c[i - 1], c[i]});
    auto cross = [](Rec o, Rec a, Rec b) {
        return int64_t(a.x - o.x) * (b.y - o.y) - int64_t(a.y - o.y) * (b.x - o.x);
    };
    auto on = [&](Rec p, const Seg& s) {  // p on s, ends included
        return cross(s.a, s.b, p) == 0 && std::min(s.a.x, s.b.x) <= p.x &&
               p.x <= std::max(s.a.x, s.b.x) && std::min(s.a.y, s.b.y) <= p.y &&
               p.y <= std::max(s.a.y, s.b.y);
    };
    for (size_t i = 0; i < segs.size(); ++i)
        for (size_t j = i + 1; j < segs.size(); ++j) {
            const Seg &s = segs[i], &t = segs[j];
            const auto d1 = cross(t.a, t.b, s.a), d2 = cross(t.a, t.b, s.b);
            const auto d3 = cross(s.a, s.b, t.a), d4 = cross(s.a, s.b, t.b);
            const bool proper = ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) &&
                                ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
            // A vertex of one lying on the other is fine only at its ends.
            auto inner = [&](Rec p, const Seg& q) {
                return on(p, q) && !(p == q.a) && !(p == q.b);
            };
            const bool same = (s.a == t.a && s.b == t.b) || (s.a == t.b && s.b == t.a);
            if (proper || same || inner(s.a, t) || inner(s.b, t) || inner(t.a, s) || inner(t.b, s))
                return QStringLiteral("(%1,%2)-(%3,%4) meets (%5,%6)-(%7,%8)")
                    .arg(s.a.x)
                    .arg(s.a.y)
                    .arg(s.b.x)
                    .arg(s.b.y)
                    .arg(t.a.x)
                    .arg(t.a.y)
                    .arg(t.b.x)
                    .arg(t.b.y);
        }
    return {};
}

}  // namespace gistest
