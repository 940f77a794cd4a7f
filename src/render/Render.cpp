#include "render/Render.h"

#include <algorithm>

namespace render {

namespace {

uint8_t LineOrDefault(int c) {
    return c < 0 ? uint8_t(Magenta) : uint8_t(c);
}
uint8_t PointOrDefault(int c) {
    return c < 0 ? uint8_t(White) : uint8_t(c);
}

// Pass 1 clears every point's pixel; pass 2 paints it `once` the first time
// and lime when it finds `once` already there, i.e. a coordinate used twice
// or more. `cleared` is what pass 2 expects to find the first time.
template <class RecordAt>
void MarkTwice(Surface& s, RecordAt rec, int32_t last, uint8_t once, uint8_t cleared,
               const std::function<void()>& tick) {
    const int32_t every = last / 5 + 1;
    for (int pass = 0; pass < 2; ++pass) {
        for (int32_t i = 0; i <= last; ++i) {
            const Rec r = rec(i);
            if (r.x > 0) {
                if (pass == 0) {
                    s.SetPixel(r.x, r.y, cleared);
                } else {
                    const uint8_t c = s.Pixel(r.x, r.y);
                    if (c == once)
                        s.SetPixel(r.x, r.y, Lime);
                    else if (c == cleared)
                        s.SetPixel(r.x, r.y, once);
                }
            }
            if (tick && i % every == 0) tick();
        }
    }
}

}  // namespace

void DrawSegment(Surface& s, int x1, int y1, int x2, int y2, int lineColour, int pointColour) {
    const uint8_t line = LineOrDefault(lineColour);
    const uint8_t point = PointOrDefault(pointColour);
    // End points are set directly, never through the raster operation, so a
    // rubber band drawn in XOR still leaves them in the point colour.
    if (x1 > 0) s.SetPixel(x1, y1, point);
    if (x2 > 0) s.SetPixel(x2, y2, point);
    if (x1 != 0 && x2 != 0) {
        s.SetPen(line);
        s.Line(x1, y1, x2, y2);
        // The line may have covered the start point: paint both ends on top.
        if (x1 > 0) s.SetPixel(x1, y1, point);
        if (x2 > 0) s.SetPixel(x2, y2, point);
    }
}

void DrawPointList(const Store& st, Surface& s, int lineColour, int pointColour) {
    Rec prev = st.Point(0);
    for (int32_t i = 1; i <= st.PointLast; ++i) {
        const Rec cur = st.Point(i);
        DrawSegment(s, prev.x, prev.y, cur.x, cur.y, lineColour, pointColour);
        prev = cur;
    }
}

void DrawKindList(const Store& st, Surface& s) {
    // A rubber band may have left XOR drawing on.
    s.SetRop(Rop::Copy);
    int colour = DefaultColour;
    Rec prev = st.KindRec(0);
    for (int32_t i = 1; i <= st.KindLast; ++i) {
        if (prev.x == 0) {
            switch (prev.y) {
                case KindSecondBoundary:
                    colour = Yellow;
                    break;
                case KindDivision:
                    colour = Aqua;
                    break;
                case KindAuxiliary:
                    colour = Green;
                    break;
                default:
                    break;  // unknown code: keep the previous group's colour
            }
        }
        const Rec cur = st.KindRec(i);
        DrawSegment(s, prev.x, prev.y, cur.x, cur.y, colour, DefaultColour);
        prev = cur;
    }
}

void ClearExtent(const Store& st, Surface& s) {
    s.SetBrush(Black);
    s.SetPen(Black);
    s.Rectangle(0, 0, st.MapWidth, st.MapHeight);
}

void DrawPicture(const Surface& picture, Surface& s) {
    const int w = std::min(picture.Width(), s.Width());
    const int h = std::min(picture.Height(), s.Height());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.SetPixel(x, y, picture.Pixel(x, y));
}

void DrawMap(const Store& st, Surface& s) {
    if (st.LegendX >= 0) {
        s.SetBrush(Black);
        s.SetPen(Silver);
        s.Rectangle(st.LegendX, st.LegendY, st.LegendX + LegendSize, st.LegendY + LegendSize);
    }
    DrawPointList(st, s);
}

void Work(const Store& st, Surface& s, const Surface* picture, bool unseen) {
    s.SetRop(Rop::Copy);
    if (st.BasePicLoaded && st.BasePicShown) {
        if (picture && (picture->Width() > s.Width() || picture->Height() > s.Height()))
            s.Resize(std::max(s.Width(), picture->Width()),
                     std::max(s.Height(), picture->Height()));
        s.SetBrush(Grey);
        s.SetPen(Grey);
        s.Rectangle(0, 0, s.Width(), s.Height());
        if (picture) DrawPicture(*picture, s);
    } else {
        // A map larger than the surface (a loaded file) makes the surface grow.
        if (st.MapWidth > s.Width() || st.MapHeight > s.Height())
            s.Resize(std::max<int>(s.Width(), st.MapWidth),
                     std::max<int>(s.Height(), st.MapHeight));
        const bool legendInside = st.LegendX < 0 || (st.LegendX + LegendSize <= st.MapWidth &&
                                                     st.LegendY + LegendSize <= st.MapHeight);
        // Nothing on an unseen surface outlives the next command that reads
        // pixels: every one of them paints the map extent first, and this
        // would not touch anything beyond it.
        if (unseen && legendInside) return;
        // The whole extent, last row and column included: a stale point pixel
        // left there would be found by the colour hit tests.
        ClearExtent(st, s);
    }
    // The legend and the network are drawn even when the picture could not be
    // read, so the work stays visible and the hit tests still find it.
    DrawMap(st, s);
}

void MarkVertices(const Store& st, Surface& s, uint8_t c, const std::function<void()>& tick) {
    MarkTwice(
        s, [&st](int32_t i) { return st.Point(i); }, st.PointLast, c, Black, tick);
}

void MarkKindVertices(const Store& st, Surface& s, const std::function<void()>& tick) {
    MarkTwice(
        s, [&st](int32_t i) { return st.KindRec(i); }, st.KindLast, White, Black, tick);
}

void CompositionView(const Store& st, Surface& s, bool whole, const std::function<void()>& tick) {
    s.SetRop(Rop::Copy);
    if (whole)
        s.Fill(Black);
    else
        ClearExtent(st, s);
    DrawPointList(st, s, Yellow, Yellow);
    MarkVertices(st, s, Yellow, tick);
}

}  // namespace render
