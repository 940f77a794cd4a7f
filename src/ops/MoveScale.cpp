#include "ops/MoveScale.h"

#include <QRect>
#include <cmath>

#include "base/DialogFields.h"
#include "base/Messages.h"
#include "raster/Picture.h"
#include "raster/BitmapFile.h"
#include "raster/Surface.h"

namespace {


// Typed numbers may come in full-width digits from a Japanese input method.
QString Normalised(const QString& s) {
    return s.normalized(QString::NormalizationForm_KC).trimmed();
}

bool InRange16(long double v) {
    return v >= INT16_MIN && v <= INT16_MAX;
}

}  // namespace

long double MoveScale::MapX(int v) const {
    return std::nearbyintl((static_cast<long double>(v) + dx) * f);
}
long double MoveScale::MapY(int v) const {
    return std::nearbyintl((static_cast<long double>(v) + dy) * f);
}

std::optional<QString> ParseMoveFields(const MoveFields& fields, MoveScale& out) {
    bool ok = false;
    const int dx = Normalised(fields.dx).toInt(&ok, 10);
    if (!ok) return msg::Text(Msg::MoveXNotInteger).arg(fields.dx);
    const int dy = Normalised(fields.dy).toInt(&ok, 10);
    if (!ok) return msg::Text(Msg::MoveYNotInteger).arg(fields.dy);
    const double f = Normalised(fields.factor).toDouble(&ok);
    if (!ok || !std::isfinite(f)) return msg::Text(Msg::ScaleNotNumber).arg(fields.factor);
    out.dx = dx;
    out.dy = dy;
    out.f = static_cast<long double>(f);
    return std::nullopt;
}

QString CheckMoveScale(const Store& st, const MoveScale& m) {
    // minX is 1 for points (X 0 would read as a separator) and 0 for the
    // legend, which is drawn at X 0 as well.
    auto check = [&](Rec r, int minX, const QString& what) -> QString {
        const long double x = m.MapX(r.x), y = m.MapY(r.y);
        if (!InRange16(x) || !InRange16(y))
            return msg::Text(Msg::MoveOutOfRange).arg(what).arg(r.x).arg(r.y);
        if (x < minX) return msg::Text(Msg::MoveLosesX).arg(what).arg(r.x).arg(r.y).arg(minX - 1);
        return QString();
    };
    for (int32_t i = 0; i <= st.PointLast; ++i) {
        const Rec r = st.Point(i);
        if (r.x <= 0) continue;
        if (QString e = check(r, 1, msg::Text(Msg::WordPoint)); !e.isEmpty()) return e;
    }
    for (int32_t i = 0; i <= st.KindLast; ++i) {
        const Rec r = st.KindRec(i);
        if (r.x <= 0) continue;
        if (QString e = check(r, 1, msg::Text(Msg::WordKindPoint)); !e.isEmpty()) return e;
    }
    for (int a = 1; a <= st.AreaCount; ++a) {
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k) {
            const Rec r = st.AreaPos(k, a);
            if (r.x <= 0) continue;
            if (QString e = check(r, 1, msg::Text(Msg::WordAreaPosition)); !e.isEmpty()) return e;
        }
    }
    if (st.LegendX > 0) {
        if (QString e = check(Rec{st.LegendX, st.LegendY}, 0, msg::Text(Msg::WordLegend));
            !e.isEmpty())
            return e;
    }
    return QString();
}

void ApplyMoveScale(Store& st, const MoveScale& m) {
    auto map = [&](Rec r) { return Rec{int16_t(m.MapX(r.x)), int16_t(m.MapY(r.y))}; };
    for (int32_t i = 0; i <= st.PointLast; ++i) {
        const Rec r = st.Point(i);
        if (r.x > 0) st.SetPoint(i, map(r));
    }
    for (int32_t i = 0; i <= st.KindLast; ++i) {
        const Rec r = st.KindRec(i);
        if (r.x > 0) st.SetKind(i, map(r));
    }
    for (int a = 1; a <= st.AreaCount; ++a) {
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k) {
            Rec& r = st.AreaPos(k, a);
            if (r.x > 0) r = map(r);
        }
    }
    if (st.LegendX > 0) {
        const Rec l = map(Rec{st.LegendX, st.LegendY});
        st.LegendX = l.x;
        st.LegendY = l.y;
    }
}

QImage MoveScalePicture(const QImage& pic, const MoveScale& m, QString* error) {
    const int64_t w1 = int64_t(pic.width()) + m.dx, h1 = int64_t(pic.height()) + m.dy;
    const long double w2 = std::nearbyintl(w1 * m.f), h2 = std::nearbyintl(h1 * m.f);
    if (w1 < 1 || h1 < 1 || w1 > INT16_MAX || h1 > INT16_MAX || !(w2 >= 1) || !(h2 >= 1) ||
        w2 > INT16_MAX || h2 > INT16_MAX) {
        if (error)
            *error = msg::Text(Msg::MovedPictureSize)
                         .arg(double(w1 < 1 || h1 < 1 ? w1 : w2))
                         .arg(double(w1 < 1 || h1 < 1 ? h1 : h2));
        return QImage();
    }
    Surface shifted;
    if (!shifted.Resize(int(w1), int(h1))) {
        if (error) *error = msg::Text(Msg::PictureMoveMemory);
        return QImage();
    }
    shifted.Fill(Black);
    shifted.DrawImage(pic, m.dx, m.dy);
    if (m.f == 1.0L) return shifted.ToImage();
    Surface scaled;
    if (!scaled.Resize(int(w2), int(h2))) {
        if (error) *error = msg::Text(Msg::PictureScaleMemory);
        return QImage();
    }
    scaled.Fill(Black);
    scaled.StretchImage(shifted.ToImage(), QRect(0, 0, int(w2), int(h2)));
    return scaled.ToImage();
}

