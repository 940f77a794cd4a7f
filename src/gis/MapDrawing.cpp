#include "gis/MapDrawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "base/Messages.h"
#include "render/Render.h"
#include "text/ShiftJis.h"

namespace gis {
namespace {

// The smallest texts that still read on paper, in points.
constexpr double kNamePoints = 7, kTitlePoints = 12;
// The title and remarks take at most this share of the height.
constexpr double kMostHeader = 0.3;

QFont TextFont(double pixels, bool bold = false) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(std::max(1, qRound(pixels)));
    font.setBold(bold);
    return font;
}

}  // namespace

MapPlacement DrawMap(QPainter& p, const Store& st, const std::vector<AreaOutlines>& outlines,
                     const QRectF& target) {
    MapPlacement placed;
    const double w = std::max<int>(1, st.MapWidth), h = std::max<int>(1, st.MapHeight);
    const QPaintDevice* device = p.device();
    const double dpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
    const double perPoint = dpi / 72;

    // Sizes that suit the map as a whole, never below what reads in print.
    const double whole = std::min(target.width() / w, target.height() / h);
    placed.nameSize = std::max(kNamePoints * perPoint, std::max(10.0, std::min(w, h) / 60) * whole);
    placed.titleSize =
        std::max(kTitlePoints * perPoint, std::max(14.0, std::min(w, h) / 30) * whole);
    const QFont nameFont = TextFont(placed.nameSize), titleFont = TextFont(placed.titleSize, true);
    const QFontMetricsF fm(nameFont), tfm(titleFont);

    // The title and remarks get a band of their own above the map, so that
    // no boundary runs through them.
    const QString title = sjis::ToUnicode(st.MapTitle).trimmed();
    QStringList remarks;
    for (int i = 1; i <= std::min<int>(st.MapCommentCount, Store::MaxComments); ++i)
        remarks << sjis::ToUnicode(st.MapComments[size_t(i)]);
    while (!remarks.isEmpty() && remarks.back().trimmed().isEmpty()) remarks.removeLast();
    const double pad = fm.height() / 2;
    double band = 0;
    if (!title.isEmpty() || !remarks.isEmpty()) {
        band = pad + (title.isEmpty() ? 0 : tfm.lineSpacing());
        int kept = 0;
        for (; kept < remarks.size(); ++kept) {
            if (band + fm.lineSpacing() + pad > target.height() * kMostHeader) break;
            band += fm.lineSpacing();
        }
        remarks = remarks.mid(0, kept);
        band += pad;
    }
    const QRectF area = target.adjusted(0, band, 0, 0);
    const double s = std::min(area.width() / w, area.height() / h);
    placed.map = QRectF(area.left() + (area.width() - w * s) / 2, area.top(), w * s, h * s);
    auto at = [&](double x, double y) {
        return QPointF(placed.map.left() + x * s, placed.map.top() + y * s);
    };

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(target, Qt::white);
    p.save();
    p.translate(placed.map.topLeft());
    p.scale(s, s);

    // Fills first, then every outline on top, so that an enclave drawn
    // before the area round it is not painted over. One polygon per outline:
    // small polygons rasterise far faster than one path of thousands of rings.
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, std::min(w, h) / 1000.0));
    pen.setJoinStyle(Qt::RoundJoin);
    QPolygonF polygon;
    auto rings = [&] {
        for (const AreaOutlines& a : outlines)
            for (const std::vector<Rec>& ring : a.rings) {
                polygon.resize(qsizetype(ring.size()));
                for (size_t i = 0; i < ring.size(); ++i)
                    polygon[qsizetype(i)] = QPointF(ring[i].x, ring[i].y);
                p.drawPolygon(polygon);
            }
    };
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 248, 240));
    rings();
    // The legend box where the work places it, under the lines as on the
    // surface.
    if (st.LegendX >= 0) {
        const QRectF box(st.LegendX, st.LegendY, render::LegendSize, render::LegendSize);
        QPen frame(QColor(96, 96, 96));
        frame.setWidthF(std::max(1.0, perPoint * 0.75) / s);
        p.setPen(frame);
        p.setBrush(Qt::white);
        p.drawRect(box);
        placed.legend = QRectF(at(box.left(), box.top()), at(box.right(), box.bottom()));
    }
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    rings();
    p.restore();

    // Texts in the device's own pixels, so that their size is what it says.
    p.setPen(Qt::black);
    p.setFont(nameFont);
    for (const AreaOutlines& a : outlines) {
        if (a.label.x <= 0 || a.name.isEmpty()) continue;
        const QPointF c = at(a.label.x, a.label.y);
        p.drawText(QPointF(c.x() - fm.horizontalAdvance(a.name) / 2,
                           c.y() + fm.ascent() / 2 - fm.descent() / 2),
                   a.name);
    }
    if (!placed.legend.isEmpty() && placed.legend.height() > fm.height() * 1.5) {
        const QString word = msg::Text(Msg::WordLegend);
        p.drawText(placed.legend.topLeft() + QPointF(pad, pad + fm.ascent()), word);
    }
    if (band > 0) {
        const double left = target.left() + pad, width = target.width() - 2 * pad;
        double y = target.top() + pad;
        if (!title.isEmpty()) {
            p.setFont(titleFont);
            p.drawText(QPointF(left, y + tfm.ascent()), tfm.elidedText(title, Qt::ElideRight, width));
            y += tfm.lineSpacing();
        }
        p.setFont(nameFont);
        for (const QString& line : remarks) {
            p.drawText(QPointF(left, y + fm.ascent()), fm.elidedText(line, Qt::ElideRight, width));
            y += fm.lineSpacing();
        }
        placed.header = QRectF(target.left(), target.top(), target.width(), band);
    }
    p.restore();
    return placed;
}

}  // namespace gis
