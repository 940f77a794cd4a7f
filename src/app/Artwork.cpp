#include "app/Artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "base/Messages.h"

namespace {

// Lines that must show on any background are drawn black with a white rim,
// which is what the inverting pixels of a monochrome cursor amount to.
void RimmedLine(QPainter& p, QPoint a, QPoint b) {
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(a, b);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(a, b);
}

QPixmap Blank() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

QPixmap CrossLine() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    // Upright cross hair, open at the centre so the pixel under it stays visible.
    RimmedLine(p, {15, 2}, {15, 11});
    RimmedLine(p, {15, 19}, {15, 28});
    RimmedLine(p, {2, 15}, {11, 15});
    RimmedLine(p, {19, 15}, {28, 15});
    return pm;
}

void DiagonalCross(QPainter& p) {
    RimmedLine(p, {5, 5}, {12, 12});
    RimmedLine(p, {18, 18}, {25, 25});
    RimmedLine(p, {25, 5}, {18, 12});
    RimmedLine(p, {12, 18}, {5, 25});
}

QPixmap CrossEdit() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    DiagonalCross(p);
    return pm;
}

QPixmap CrossKind() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    // Shorter arms than the edit cross, leaving room for a small x at each end.
    RimmedLine(p, {9, 9}, {12, 12});
    RimmedLine(p, {18, 18}, {21, 21});
    RimmedLine(p, {21, 9}, {18, 12});
    RimmedLine(p, {12, 18}, {9, 21});
    for (QPoint c : {QPoint(4, 4), QPoint(26, 4), QPoint(4, 26), QPoint(26, 26)}) {
        RimmedLine(p, c + QPoint(-2, -2), c + QPoint(2, 2));
        RimmedLine(p, c + QPoint(2, -2), c + QPoint(-2, 2));
    }
    return pm;
}

QPixmap IndexPosition() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    // A miniature legend box: four rows of a sample square and a text mark.
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(0, 0, 20, 24);
    for (int row = 0; row < 4; ++row) {
        int y = 3 + row * 5;
        p.fillRect(3, y, 3, 3, Qt::black);
        p.drawLine(8, y + 1, 17, y + 1);
    }
    return pm;
}

QPixmap Cutter() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A knife blade from the tip at the lower left (the hot spot) up to the handle.
    QPolygon blade({QPoint(8, 29), QPoint(22, 9), QPoint(26, 12), QPoint(12, 28)});
    QPolygon handle({QPoint(22, 9), QPoint(27, 2), QPoint(31, 5), QPoint(26, 12)});
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::black);
    p.drawPolygon(blade);
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.drawPolygon(handle);
    return pm;
}

QPainterPath PiecePath() {
    // A jigsaw piece: a square with knobs on the right and the bottom and
    // notches on the left and the top.
    QPainterPath square;
    square.addRect(QRectF(3, 7, 16, 16));
    QPainterPath knobRight, knobBottom, notchLeft, notchTop;
    knobRight.addEllipse(QPointF(21.5, 15), 3.5, 3.5);
    knobBottom.addEllipse(QPointF(11, 25.5), 3.5, 3.5);
    notchLeft.addEllipse(QPointF(3, 15), 3, 3);
    notchTop.addEllipse(QPointF(11, 7), 3, 3);
    return square.united(knobRight).united(knobBottom).subtracted(notchLeft).subtracted(notchTop);
}

QPixmap PickUp() {
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPainterPath piece = PiecePath();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3));
    p.drawPath(piece);
    p.setPen(QPen(Qt::black, 1.2));
    p.drawPath(piece);
    return pm;
}

// ---- tool-bar glyphs, 20 x 20 ----

QPixmap GlyphCanvas() {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    return pm;
}

void Folder(QPainter& p) {
    p.setPen(QColor(90, 70, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygon(
        {QPoint(1, 5), QPoint(7, 5), QPoint(9, 7), QPoint(17, 7), QPoint(17, 17), QPoint(1, 17)}));
    p.setBrush(QColor(255, 225, 120));
    p.drawPolygon(QPolygon({QPoint(3, 10), QPoint(19, 10), QPoint(17, 17), QPoint(1, 17)}));
}

void Disk(QPainter& p) {
    p.setPen(QColor(20, 20, 60));
    p.setBrush(QColor(40, 60, 150));
    p.drawRect(2, 2, 16, 16);
    p.setBrush(Qt::white);
    p.drawRect(5, 2, 10, 6);
    p.setBrush(QColor(180, 180, 190));
    p.drawRect(5, 12, 10, 6);
}

void Picture(QPainter& p, bool mono) {
    p.setPen(Qt::black);
    p.setBrush(mono ? QColor(255, 255, 255) : QColor(170, 220, 255));
    p.drawRect(1, 3, 16, 13);
    p.setBrush(mono ? QColor(0, 0, 0) : QColor(60, 150, 60));
    p.drawPolygon(
        QPolygon({QPoint(2, 15), QPoint(7, 8), QPoint(11, 12), QPoint(13, 10), QPoint(16, 15)}));
    p.setBrush(mono ? QColor(0, 0, 0) : QColor(240, 90, 40));
    p.drawEllipse(QPoint(13, 6), 2, 2);
}

void Label(QPainter& p, const QString& text, QRect r, QColor c) {
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(r.height());
    f.setBold(true);
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, Qt::AlignCenter, text);
}

QPixmap Glyph(Cmd c) {
    QPixmap pm = GlyphCanvas();
    QPainter p(&pm);
    switch (c) {
        case Cmd::SpFileOpen:
            Folder(p);
            break;
        case Cmd::SpFileSave:
            Disk(p);
            break;
        case Cmd::SpBmpOpen:
            Picture(p, false);
            p.setPen(QPen(QColor(0, 0, 160), 2));
            p.drawLine(15, 19, 15, 12);
            p.drawLine(12, 15, 15, 12);
            p.drawLine(18, 15, 15, 12);
            break;
        case Cmd::SpBmpMono:
            Picture(p, true);
            break;
        case Cmd::SpBmpExpand:
            p.setPen(QPen(Qt::black, 1.5));
            p.setBrush(QColor(220, 240, 255));
            p.setRenderHint(QPainter::Antialiasing);
            p.drawEllipse(QPointF(8, 8), 6, 6);
            p.setPen(QPen(Qt::black, 3));
            p.drawLine(QPointF(12.5, 12.5), QPointF(18, 18));
            p.setPen(QPen(Qt::black, 1.5));
            p.drawLine(QPointF(5, 8), QPointF(11, 8));
            p.drawLine(QPointF(8, 5), QPointF(8, 11));
            break;
        case Cmd::SpAreaName:
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(1, 2, 17, 15);
            Label(p, msg::Text(Msg::AreaNameShort), QRect(2, 3, 16, 14), QColor(0, 0, 128));
            break;
        case Cmd::SpAreaPos:
            Label(p, msg::Text(Msg::AreaNameShort), QRect(0, 0, 11, 11), QColor(0, 0, 128));
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(10, 9, 14, 13);
            p.setBrush(QColor(0, 200, 200));
            p.drawRect(12, 12, 7, 7);
            p.fillRect(15, 15, 2, 2, QColor(0, 0, 128));
            break;
        case Cmd::SpIndexPos:
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(2, 1, 15, 18);
            for (int row = 0; row < 4; ++row) {
                int y = 3 + row * 4;
                p.fillRect(4, y, 3, 3, row % 2 ? QColor(200, 0, 0) : QColor(0, 0, 160));
                p.drawLine(9, y + 1, 14, y + 1);
            }
            break;
        case Cmd::SpRemake:
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(200, 0, 200), 1.5));
            p.setBrush(QColor(255, 255, 150));
            p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(9, 2), QPointF(18, 5), QPointF(16, 16),
                                     QPointF(7, 18), QPointF(3, 13)}));
            p.setPen(QPen(QColor(200, 0, 200), 1.2));
            p.drawLine(QPointF(9, 2), QPointF(10, 10));
            p.drawLine(QPointF(10, 10), QPointF(16, 16));
            p.drawLine(QPointF(10, 10), QPointF(3, 13));
            break;
        default:
            return QPixmap();
    }
    return pm;
}

}  // namespace

QPoint SurfaceCursorHotSpot(SurfaceCursor c) {
    switch (c) {
        case SurfaceCursor::CrossLine:
        case SurfaceCursor::CrossEdit:
        case SurfaceCursor::CrossKind:
            return {15, 15};
        case SurfaceCursor::Cutter:
            return {8, 29};
        default:
            return {0, 0};
    }
}

QPixmap SurfaceCursorPixmap(SurfaceCursor c) {
    switch (c) {
        case SurfaceCursor::CrossLine:
            return CrossLine();
        case SurfaceCursor::CrossEdit:
            return CrossEdit();
        case SurfaceCursor::CrossKind:
            return CrossKind();
        case SurfaceCursor::IndexPosition:
            return IndexPosition();
        case SurfaceCursor::Cutter:
            return Cutter();
        case SurfaceCursor::PickUp:
            return PickUp();
        case SurfaceCursor::Arrow:
            break;
    }
    return QPixmap();
}

QCursor SurfaceCursorShape(SurfaceCursor c) {
    if (c == SurfaceCursor::Arrow) return QCursor(Qt::ArrowCursor);
    QPoint hot = SurfaceCursorHotSpot(c);
    return QCursor(SurfaceCursorPixmap(c), hot.x(), hot.y());
}

QIcon ToolGlyph(Cmd c) {
    QPixmap pm = Glyph(c);
    return pm.isNull() ? QIcon() : QIcon(pm);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        // A sheet with three outlined areas meeting at shared points.
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 3, 3);
        QPen line(QColor(200, 0, 200), 2);
        p.setPen(line);
        p.setBrush(QColor(120, 220, 230));
        p.drawPolygon(QPolygonF({QPointF(5, 6), QPointF(16, 4), QPointF(17, 15), QPointF(6, 17)}));
        p.setBrush(QColor(250, 230, 120));
        p.drawPolygon(
            QPolygonF({QPointF(16, 4), QPointF(27, 8), QPointF(26, 18), QPointF(17, 15)}));
        p.setBrush(QColor(170, 230, 150));
        p.drawPolygon(QPolygonF(
            {QPointF(6, 17), QPointF(17, 15), QPointF(26, 18), QPointF(22, 27), QPointF(8, 26)}));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 128));
        for (QPointF node : {QPointF(16, 4), QPointF(17, 15), QPointF(6, 17), QPointF(26, 18)})
            p.drawEllipse(node, 1.6, 1.6);
        icon.addPixmap(pm);
    }
    return icon;
}

QFont UiFont() {
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(12);
    return f;
}
