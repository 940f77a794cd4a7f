#include "gis/MapDrawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "text/ShiftJis.h"

namespace gis {

void DrawMap(QPainter& p, const Store& st, const std::vector<AreaOutlines>& outlines,
             const QRectF& target) {
    const double w = std::max<int>(1, st.MapWidth), h = std::max<int>(1, st.MapHeight);
    const double s = std::min(target.width() / w, target.height() / h);
    p.save();
    p.translate(target.left() + (target.width() - w * s) / 2,
                target.top() + (target.height() - h * s) / 2);
    p.scale(s, s);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, w, h), Qt::white);

    // Fills first, then every outline on top, so that an enclave drawn
    // before the area round it is not painted over. One polygon per outline:
    // small polygons rasterise far faster than one path of thousands of rings.
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, std::min(w, h) / 1000.0));
    pen.setJoinStyle(Qt::RoundJoin);
    QPolygonF polygon;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(250, 248, 240));
        } else {
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
        }
        for (const AreaOutlines& a : outlines)
            for (const std::vector<Rec>& ring : a.rings) {
                polygon.resize(qsizetype(ring.size()));
                for (size_t i = 0; i < ring.size(); ++i)
                    polygon[qsizetype(i)] = QPointF(ring[i].x, ring[i].y);
                p.drawPolygon(polygon);
            }
    }

    // Names in a size that suits the map, never too small to read in print.
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(std::max(10, int(std::min(w, h) / 60)));
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetricsF fm(font);
    for (const AreaOutlines& a : outlines) {
        if (a.label.x <= 0 || a.name.isEmpty()) continue;
        const double tw = fm.horizontalAdvance(a.name);
        p.drawText(QPointF(a.label.x - tw / 2, a.label.y + fm.ascent() / 2 - fm.descent() / 2),
                   a.name);
    }

    // The title and remarks in the top left corner.
    QFont titleFont = font;
    titleFont.setPixelSize(std::max(14, int(std::min(w, h) / 30)));
    titleFont.setBold(true);
    p.setFont(titleFont);
    const QFontMetricsF tfm(titleFont);
    double y = tfm.ascent() + 4;
    const QString title = sjis::ToUnicode(st.MapTitle);
    if (!title.isEmpty()) {
        p.drawText(QPointF(6, y), title);
        y += tfm.lineSpacing();
    }
    p.setFont(font);
    for (int i = 1; i <= std::min<int>(st.MapCommentCount, Store::MaxComments); ++i) {
        p.drawText(QPointF(6, y), sjis::ToUnicode(st.MapComments[size_t(i)]));
        y += fm.lineSpacing();
    }
    p.restore();
}

}  // namespace gis
