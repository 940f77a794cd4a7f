#include "editor/commands/ControlPoints.h"

#include <cmath>

#include "base/Messages.h"
#include "editor/Services.h"
#include "usecases/CrsList.h"

namespace {

bool ReadNumber(const QString& text, double* v) {
    bool ok = false;
    *v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*v);
}

QString Number(double v) {
    return QString::number(v, 'g', 12);
}

}  // namespace

QSize ControlPoints::MapSize() const {
    const Store& st = wb_.st;
    // A work without an extent yet is judged over the surface it is drawn on.
    if (st.MapWidth > 0 && st.MapHeight > 0) return QSize(st.MapWidth, st.MapHeight);
    return QSize(wb_.surf.Width(), wb_.surf.Height());
}

const usecase::GeoRefFit* ControlPoints::Fit() {
    if (!backend) return nullptr;
    const georef::GeoRef& g = wb_.st.Geo;
    if (!fit_ || !(fitFor_ == g)) {
        fit_ = backend.fit(g, MapSize());
        fitFor_ = g;
    }
    return &*fit_;
}

void ControlPoints::Commit(georef::GeoRef g) {
    // The affine is the points' own fit whenever they give one; points that
    // give none leave the work without a transform until they do, rather
    // than with one they no longer describe.
    g.hasAffine = false;
    if (backend && !g.points.empty()) {
        const usecase::GeoRefFit f = backend.fit(g, MapSize());
        if (f.result.ok) g = f.geo;
    }
    wb_.doc.SetGeoRef(std::move(g));
    wb_.doc.MarkChanged();
}

bool ControlPoints::AskCoordinates(ControlPointFields& f, georef::GeoRef& g, double* x, double* y) {
    for (const georef::CrsChoice& c : georef::CommonSystems())
        f.crsChoices.push_back({c.code, c.name});
    for (;;) {
        if (!wb_.ui.ControlPointDialog(f)) return false;
        auto refuse = [&](const QString& text) {
            wb_.ui.Inform(text, msg::Text(Msg::CapControlPoints), MsgIcon::Warning);
        };
        if (!ReadNumber(f.x, x) || !ReadNumber(f.y, y)) {
            refuse(msg::Text(Msg::ControlPointNotNumber));
            continue;
        }
        // An empty system keeps the work's own (known only by its WKT).
        QString crs = f.crs.trimmed(), wkt = g.wkt;
        if (!crs.isEmpty() && (crs != g.crs || wkt.isEmpty())) {
            if (backend.crsToWkt && !backend.crsToWkt(crs, &wkt)) {
                refuse(msg::Format(Msg::GeoRefCrsUnknown, {crs}));
                continue;
            }
        }
        if (backend.isGeographic && !wkt.isEmpty() && backend.isGeographic(wkt) &&
            std::abs(*y) > 90) {
            refuse(msg::Text(Msg::ControlPointLatitude));
            continue;
        }
        if (!crs.isEmpty()) g.crs = crs;
        g.wkt = wkt;
        return true;
    }
}

void ControlPoints::Place(QPoint p) {
    Steps::Scope scope(wb_.steps);
    georef::GeoRef g = wb_.st.Geo;
    ControlPointFields f;
    // A work with no system yet proposes longitude and latitude.
    f.crs = !g.crs.isEmpty() ? g.crs : g.wkt.isEmpty() ? QStringLiteral("EPSG:4326") : QString();
    double x, y;
    if (!AskCoordinates(f, g, &x, &y)) return;
    g.points.push_back({double(p.x()), double(p.y()), x, y, true});
    Commit(std::move(g));
}

void ControlPoints::EditCoordinates(int i) {
    Steps::Scope scope(wb_.steps);
    georef::GeoRef g = wb_.st.Geo;
    if (i < 0 || size_t(i) >= g.points.size()) return;
    ControlPointFields f;
    f.x = Number(g.points[size_t(i)].x);
    f.y = Number(g.points[size_t(i)].y);
    f.crs = g.crs;
    double x, y;
    if (!AskCoordinates(f, g, &x, &y)) return;
    g.points[size_t(i)].x = x;
    g.points[size_t(i)].y = y;
    Commit(std::move(g));
}

void ControlPoints::Move(int i, double px, double py) {
    const georef::ControlPoint* p =
        i >= 0 && size_t(i) < wb_.st.Geo.points.size() ? &wb_.st.Geo.points[size_t(i)] : nullptr;
    if (p) SetNumbers(i, px, py, p->x, p->y);
}

void ControlPoints::SetNumbers(int i, double px, double py, double x, double y) {
    Steps::Scope scope(wb_.steps);
    georef::GeoRef g = wb_.st.Geo;
    if (i < 0 || size_t(i) >= g.points.size()) return;
    for (double v : {px, py, x, y})
        if (!std::isfinite(v)) return;
    georef::ControlPoint& p = g.points[size_t(i)];
    if (p.px == px && p.py == py && p.x == x && p.y == y) return;
    p.px = px, p.py = py, p.x = x, p.y = y;
    Commit(std::move(g));
}

void ControlPoints::Switch(int i, bool on) {
    Steps::Scope scope(wb_.steps);
    georef::GeoRef g = wb_.st.Geo;
    if (i < 0 || size_t(i) >= g.points.size() || g.points[size_t(i)].enabled == on) return;
    g.points[size_t(i)].enabled = on;
    Commit(std::move(g));
}

void ControlPoints::Remove(int i) {
    Steps::Scope scope(wb_.steps);
    georef::GeoRef g = wb_.st.Geo;
    if (i < 0 || size_t(i) >= g.points.size()) return;
    g.points.erase(g.points.begin() + i);
    Commit(std::move(g));
}

void ControlPoints::SetMethod(georef::Method m) {
    Steps::Scope scope(wb_.steps);
    georef::GeoRef g = wb_.st.Geo;
    if (g.method == m) return;
    g.method = m;
    Commit(std::move(g));
}

void ControlPoints::ShowTable() {
    tableOpen_ = true;
    wb_.ui.ControlPointsShow(Table());
}

void ControlPoints::Follow() {
    if (shown_ && *shown_ == wb_.st.Geo) return;
    const bool marks = !shown_ || shown_->points != wb_.st.Geo.points;
    shown_ = wb_.st.Geo;
    if (marks) wb_.ui.ControlPointMarksChanged();
    if (tableOpen_) wb_.ui.ControlPointsShow(Table());
}

int ControlPoints::PointAt(QPoint p, double reach) const {
    int best = -1;
    double bestD = reach;
    const auto& points = wb_.st.Geo.points;
    for (size_t i = 0; i < points.size(); ++i) {
        const double d = std::hypot(points[i].px - p.x(), points[i].py - p.y());
        if (d <= bestD) best = int(i), bestD = d;
    }
    return best;
}

ControlPointTable ControlPoints::Table() {
    ControlPointTable t;
    t.open = tableOpen_;
    const georef::GeoRef& g = wb_.st.Geo;
    t.crs = g.crs;
    for (const georef::CrsChoice& c : georef::CommonSystems())
        if (c.code.compare(g.crs, Qt::CaseInsensitive) == 0) t.crs = c.code + u' ' + c.name;
    t.method = int(g.method);
    t.methods = {msg::Text(Msg::MethodAffine), msg::Text(Msg::MethodPoly2),
                 msg::Text(Msg::MethodPoly3), msg::Text(Msg::MethodTps)};
    const usecase::GeoRefFit* fit = g.points.empty() ? nullptr : Fit();
    for (size_t i = 0; i < g.points.size(); ++i) {
        const georef::ControlPoint& p = g.points[i];
        ControlPointRow r{p.px, p.py, p.x, p.y, p.enabled};
        if (fit && fit->result.ok && i < fit->points.size()) {
            const usecase::PointFit& f = fit->points[i];
            r.fitted = f.fitted;
            r.residualPx = f.residualPx;
            r.residual = f.residual;
            r.leftOut = f.leftOut;
            r.leaveOneOutPx = f.leaveOneOutPx;
        }
        t.rows.push_back(r);
    }
    if (g.points.empty())
        t.summary = msg::Text(Msg::ControlPointsEmpty);
    else if (!fit)
        t.summary = msg::Text(Msg::ControlPointsNoFit);
    else if (!fit->result.ok)
        t.summary = fit->result.message.Text();
    else {
        bool leftOut = false;
        for (const usecase::PointFit& f : fit->points) leftOut = leftOut || f.leftOut;
        t.summary = msg::Format(
            Msg::ControlPointsSummary,
            {QString::number(fit->rmsPx, 'f', 3), QString::number(fit->rms, 'g', 4),
             leftOut ? QString::number(fit->leaveOneOutRmsPx, 'f', 3) : QStringLiteral("-")});
        t.warnings = fit->warnings;
    }
    return t;
}
