// The 16-colour drawing surface: one palette index per pixel. It is both the
// display and a raster work area - the editing commands find points and lines
// by reading pixel colours back, and the composition flood-fills regions.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

// Palette indices in the standard 16-colour order.
enum Colour : uint8_t {
    Black = 0,
    Maroon = 1,
    Green = 2,
    Olive = 3,
    Navy = 4,
    Purple = 5,
    Teal = 6,
    Silver = 7,
    Grey = 8,
    Red = 9,
    Lime = 10,
    Yellow = 11,
    Blue = 12,
    Magenta = 13,  // fuchsia
    Aqua = 14,
    White = 15,
    NoColour = 255,  // what a read outside the surface gives
};

// The colour value of a palette index as QRgb (0xAARRGGBB).
QRgb PaletteRgb(uint8_t index);
// The palette index nearest to a true colour (squared distance in RGB).
uint8_t NearestColour(QRgb rgb);
// The 16-entry colour table for indexed QImages.
const QList<QRgb>& PaletteTable();

// Raster operations applied to palette indices when drawing lines.
enum class Rop { Copy, Xor, NotXor, Black };

class Surface {
  public:
    Surface() = default;
    Surface(int w, int h) { Resize(w, h); }

    // Sets the size; pixels that stay keep their colour, new ones are black.
    // Returns false (and changes nothing) when the memory cannot be had.
    bool Resize(int w, int h);
    int Width() const { return w_; }
    int Height() const { return h_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

    uint8_t Pixel(int x, int y) const {
        return Contains(x, y) ? px_[size_t(y) * size_t(w_) + size_t(x)] : uint8_t(NoColour);
    }
    void SetPixel(int x, int y, uint8_t c) {
        ++changes_.n;
        if (Contains(x, y)) px_[size_t(y) * size_t(w_) + size_t(x)] = c;
    }
    void Fill(uint8_t c);
    // Colour c over [from, to) of row y, clipped; no raster operation.
    void FillSpan(int y, int from, int to, uint8_t c);

    // Pen, brush and raster operation, as a device context holds them.
    void SetPen(uint8_t c) { pen_ = c; }
    void SetBrush(uint8_t c) { brush_ = c; }
    void SetRop(Rop r) { rop_ = r; }
    uint8_t Pen() const { return pen_; }
    uint8_t Brush() const { return brush_; }
    Rop CurrentRop() const { return rop_; }

    // A line from (x1, y1) to (x2, y2) with the pen and raster operation,
    // leaving out the final pixel (8-connected Bresenham).
    void Line(int x1, int y1, int x2, int y2);
    // Rectangle: pen outline, brush interior; right and bottom edges excluded,
    // so (0,0)-(w,h) covers exactly w x h pixels.
    void Rectangle(int x1, int y1, int x2, int y2);
    // Lines through the points in order (each leaving out its final pixel).
    void Polyline(const std::vector<QPoint>& pts);
    // Filled with the brush by the alternate (even-odd) rule, then outlined with the pen.
    void Polygon(const std::vector<QPoint>& pts);

    // Flood fill joining through the four edge neighbours only (iterative).
    // Both styles return the bounding box of the pixels they filled (empty
    // when nothing was filled), so callers can look for what borders the
    // region without scanning the whole surface.
    // Border style: fill outward from (x, y) until pixels of colour border.
    QRect FloodFillBorder(int x, int y, uint8_t border, uint8_t fill);
    // Surface style: fill the connected pixels that have colour `surface`.
    QRect FloodFillSurface(int x, int y, uint8_t surface, uint8_t fill);

    // Draws a true-colour (or any) picture with its top-left corner at (x, y),
    // each pixel reduced to the nearest of the 16 colours.
    void DrawImage(const QImage& img, int x, int y);
    // Nearest-neighbour stretch of a picture onto the rectangle dst.
    void StretchImage(const QImage& img, const QRect& dst);

    // A 16-colour copy of the surface (for saving).
    QImage ToImage() const;
    // A zero-copy indexed view of the buffer for display; valid until the
    // next Resize.
    QImage View();
    const uint8_t* Data() const { return px_.data(); }
    uint8_t* Bits() {
        ++changes_.n;
        return px_.data();
    }
    // Nothing has been drawn since the surface was made or filled black:
    // every pixel is black.
    bool Blank() const { return changes_.n == blankAt_; }

    // Grows with every call that may change a pixel or the size, and when
    // another surface is assigned: what was worked out from the pixels (such
    // as region labels) is still valid while it has not moved.
    uint64_t Changes() const { return changes_.n; }

  private:
    uint8_t Combine(uint8_t dst, uint8_t src) const;
    void PlotRop(int x, int y);
    // Colour c over [from, to) of row y with the raster operation, clipped.
    void SpanRop(int y, int from, int to, uint8_t c);
    // Zeroed by the system: pages nobody touches cost no memory and no time,
    // as with a large surface that a batch run never draws on.
    template <class T>
    struct ZeroedAllocator {
        using value_type = T;
        ZeroedAllocator() = default;
        template <class U>
        ZeroedAllocator(const ZeroedAllocator<U>&) {}
        T* allocate(size_t n) {
            if (void* p = std::calloc(n, sizeof(T))) return static_cast<T*>(p);
            throw std::bad_alloc();
        }
        void deallocate(T* p, size_t) { std::free(p); }
        // New pixels are left as calloc gave them: zero, i.e. black.
        template <class U>
        void construct(U*) noexcept {}
        template <class U, class... A>
        void construct(U* p, A&&... a) {
            ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
        }
        bool operator==(const ZeroedAllocator&) const { return true; }
    };
    static_assert(Black == 0, "new pixels are zero");
    int w_ = 0, h_ = 0;
    std::vector<uint8_t, ZeroedAllocator<uint8_t>> px_;
    struct ChangeCount {
        uint64_t n = 0;
        ChangeCount() = default;
        ChangeCount(const ChangeCount& o) : n(o.n) {}
        ChangeCount& operator=(const ChangeCount& o) {
            n = std::max(n, o.n) + 1;
            return *this;
        }
    } changes_;
    uint64_t blankAt_ = 0;  // changes_ when every pixel was last known black
    uint8_t pen_ = Black, brush_ = Black;
    Rop rop_ = Rop::Copy;
};
