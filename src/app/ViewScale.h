// The view's magnification: a power of two from 1/8 to 16. Widget pixels map
// to surface pixels by integer division, so hit tests, fills and stored
// coordinates are exactly what they are at 1:1; the division rounds towards
// minus infinity, so a drag past the left or top edge stays off the surface.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <algorithm>

struct ViewScale {
    static constexpr int MinExp = -3, MaxExp = 4;  // 1/8x .. 16x
    int exp = 0;                                   // magnification 2^exp

    static int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
    // Widget pixels one surface pixel covers a side (1 when zoomed out).
    int Cell() const { return exp > 0 ? 1 << exp : 1; }
    // Surface pixels one widget pixel covers a side (1 when zoomed in).
    int Step() const { return exp < 0 ? 1 << -exp : 1; }

    // The surface pixel under widget pixel w; zoomed out, the top-left one of
    // the block the widget pixel shows.
    int ToSurface(int w) const { return FloorDiv(w, Cell()) * Step(); }
    // The widget pixel at the top-left of surface pixel s.
    int ToWidget(int s) const { return FloorDiv(s, Step()) * Cell(); }
    // The widget pixel in the middle of surface pixel s's square.
    int Centre(int s) const { return ToWidget(s) + Cell() / 2; }
    // Widget pixels needed to show n surface pixels.
    int WidgetLength(int n) const { return exp >= 0 ? n * Cell() : (n + Step() - 1) / Step(); }
    // Surface pixels shown by n widget pixels (whole ones only when zoomed in).
    int SurfaceLength(int n) const { return n / Cell() * Step(); }

    QPoint ToSurface(QPoint w) const { return {ToSurface(w.x()), ToSurface(w.y())}; }
    QPoint ToWidget(QPoint s) const { return {ToWidget(s.x()), ToWidget(s.y())}; }
    QPoint Centre(QPoint s) const { return {Centre(s.x()), Centre(s.y())}; }
    // The widget pixels that show surface pixel s.
    QRect Square(QPoint s) const { return QRect(ToWidget(s), QSize(Cell(), Cell())); }

    double Zoom() const { return exp >= 0 ? double(Cell()) : 1.0 / Step(); }
    static int Clamp(int e) { return std::clamp(e, MinExp, MaxExp); }
    // "x4", "x1", "x1/8": how the read-out shows it.
    QString Text() const {
        return exp >= 0 ? QStringLiteral("x%1").arg(Cell()) : QStringLiteral("x1/%1").arg(Step());
    }
};
