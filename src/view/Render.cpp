// Painting the map on the drawing surface. The editing commands find points
// and lines by reading pixel colours back, so the colours and the exact way
// segments and points are drawn here are what they rely on.
#include <QFileInfo>
#include <algorithm>

#include "core/Editor.h"
#include "raster/BitmapFile.h"

namespace {

// The legend box is always this many pixels square.
constexpr int LegendSize = 100;

uint8_t LineOrDefault(int c) {
    return c < 0 ? uint8_t(Magenta) : uint8_t(c);
}
uint8_t PointOrDefault(int c) {
    return c < 0 ? uint8_t(White) : uint8_t(c);
}

}  // namespace

void Editor::DrawSegment(int x1, int y1, int x2, int y2, int lineColour, int pointColour) {
    const uint8_t line = LineOrDefault(lineColour);
    const uint8_t point = PointOrDefault(pointColour);
    // End points are set directly, never through the raster operation, so a
    // rubber band drawn in XOR still leaves them in the point colour.
    if (x1 > 0) surf.SetPixel(x1, y1, point);
    if (x2 > 0) surf.SetPixel(x2, y2, point);
    if (x1 != 0 && x2 != 0) {
        surf.SetPen(line);
        surf.Line(x1, y1, x2, y2);
        // The line may have covered the start point: paint both ends on top.
        if (x1 > 0) surf.SetPixel(x1, y1, point);
        if (x2 > 0) surf.SetPixel(x2, y2, point);
    }
}

void Editor::DrawPointList(int lineColour, int pointColour) {
    Rec prev = st.Point(0);
    for (int32_t i = 1; i <= st.PointLast; ++i) {
        const Rec cur = st.Point(i);
        DrawSegment(prev.x, prev.y, cur.x, cur.y, lineColour, pointColour);
        prev = cur;
    }
}

void Editor::DrawKindList() {
    // A rubber band may have left XOR drawing on.
    surf.SetRop(Rop::Copy);
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
        DrawSegment(prev.x, prev.y, cur.x, cur.y, colour, DefaultColour);
        prev = cur;
    }
}

void Editor::ClearSurface() {
    surf.SetBrush(Black);
    surf.SetPen(Black);
    surf.Rectangle(0, 0, st.MapWidth, st.MapHeight);
}

bool Editor::LoadPictureCached(QString* error) {
    const QFileInfo info(st.TempPicFile);
    if (!info.exists() || !info.isFile()) {
        *error = QStringLiteral("下絵の一時ファイル %1 がありません。").arg(st.TempPicFile);
        return false;
    }
    const qint64 size = info.size();
    const qint64 mtime = info.lastModified().toMSecsSinceEpoch();
    const qint64 ctime = info.metadataChangeTime().toMSecsSinceEpoch();
    if (picPath_ == st.TempPicFile && picSize_ == size && picMtime_ == mtime &&
        picCtime_ == ctime && picPixels_.Width() > 0)
        return true;
    picPath_.clear();
    const QImage img = ReadBitmapFile(st.TempPicFile, error);
    if (img.isNull()) return false;
    // Larger than a coordinate can address: the map could never be edited.
    if (img.width() > 32767 || img.height() > 32767) {
        *error =
            QStringLiteral("下絵が大きすぎます (%1 x %2)。").arg(img.width()).arg(img.height());
        return false;
    }
    Surface pixels;
    if (!pixels.Resize(img.width(), img.height())) {
        *error = QStringLiteral("下絵 (%1 x %2) を表示するメモリが足りません。")
                     .arg(img.width())
                     .arg(img.height());
        return false;
    }
    pixels.DrawImage(img, 0, 0);
    picPixels_ = std::move(pixels);
    picPath_ = st.TempPicFile;
    picSize_ = size;
    picMtime_ = mtime;
    picCtime_ = ctime;
    return true;
}

bool Editor::ReDraw() {
    ui.SetBusy(true);
    if (st.Mode == Mode::LineKind) {
        // Leaving line-kind mode redraws (with the new mode) on the way out.
        BuildModeClick();
        return lastRedrawOk_;
    }
    surf.SetRop(Rop::Copy);
    bool ok = true;
    if (st.BasePicLoaded && st.BasePicShown) {
        QString error;
        const bool loaded = LoadPictureCached(&error);
        if (loaded && (picPixels_.Width() > surf.Width() || picPixels_.Height() > surf.Height()))
            surf.Resize(std::max(surf.Width(), picPixels_.Width()),
                        std::max(surf.Height(), picPixels_.Height()));
        surf.SetBrush(Grey);
        surf.SetPen(Grey);
        surf.Rectangle(0, 0, surf.Width(), surf.Height());
        if (loaded) {
            const int w = std::min(picPixels_.Width(), surf.Width());
            const int h = std::min(picPixels_.Height(), surf.Height());
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) surf.SetPixel(x, y, picPixels_.Pixel(x, y));
            st.MapWidth = int16_t(picPixels_.Width());
            st.MapHeight = int16_t(picPixels_.Height());
        } else {
            ui.Inform(error, QStringLiteral("エラー"), MsgIcon::Error);
            ok = false;
        }
    } else {
        // A map larger than the surface (a loaded file) makes the surface grow.
        if (st.MapWidth > surf.Width() || st.MapHeight > surf.Height())
            surf.Resize(std::max<int>(surf.Width(), st.MapWidth),
                        std::max<int>(surf.Height(), st.MapHeight));
        const bool legendInside = st.LegendX < 0 || (st.LegendX + LegendSize <= st.MapWidth &&
                                                     st.LegendY + LegendSize <= st.MapHeight);
        if (surfaceUnseen && legendInside) {
            // Nothing here outlives the next command that reads pixels: every
            // one of them paints the map extent first, and this would not
            // touch anything beyond it.
            RestoreCursor();
            lastRedrawOk_ = ok;
            return ok;
        }
        // The whole extent, last row and column included: a stale point pixel
        // left there would be found by the colour hit tests.
        surf.SetBrush(Black);
        surf.SetPen(Black);
        surf.Rectangle(0, 0, st.MapWidth, st.MapHeight);
    }
    // The legend and the network are drawn even when the picture could not be
    // read, so the work stays visible and the hit tests still find it.
    if (st.LegendX >= 0) {
        surf.SetBrush(Black);
        surf.SetPen(Silver);
        surf.Rectangle(st.LegendX, st.LegendY, st.LegendX + LegendSize, st.LegendY + LegendSize);
    }
    DrawPointList(DefaultColour, DefaultColour);
    RestoreCursor();
    lastRedrawOk_ = ok;
    return ok;
}

void Editor::DisplayMap(int lineColour, int pointColour) {
    surf.SetRop(Rop::Copy);
    ClearSurface();
    DrawPointList(lineColour, pointColour);
    ui.SurfaceChanged();
}

void Editor::ShowKinds() {
    ui.SetBusy(true);
    surf.SetRop(Rop::Copy);
    ClearSurface();
    DrawPointList(DefaultColour, DefaultColour);
    DrawKindList();
    RestoreCursor();
}

void Editor::RestoreCursor() {
    ui.SetBusy(false);
    // The area-position command sets its own cursor and keeps it.
    if (st.Mode != Mode::AreaPosition) ui.SetSurfaceCursor(ModeCursor());
    ui.SurfaceChanged();
}

void Editor::ShowProgressBar() {
    progress.SetPosition(0);
    progress.Show();
}

void Editor::MarkVertices(uint8_t c) {
    ShowProgressBar();
    const int32_t every = st.PointLast / 5 + 1;
    // Pass 1 clears every point's pixel; pass 2 paints it c the first time and
    // lime when it finds c already there, i.e. a coordinate used twice or more.
    for (int pass = 0; pass < 2; ++pass) {
        for (int32_t i = 0; i <= st.PointLast; ++i) {
            const Rec r = st.Point(i);
            if (r.x > 0) {
                if (pass == 0) {
                    surf.SetPixel(r.x, r.y, Black);
                } else {
                    const uint8_t p = surf.Pixel(r.x, r.y);
                    if (p == c)
                        surf.SetPixel(r.x, r.y, Lime);
                    else if (p == Black)
                        surf.SetPixel(r.x, r.y, c);
                }
            }
            if (i % every == 0) progress.StepIt();
        }
    }
    progress.SetPosition(0);
    progress.Hide();
    ui.SurfaceChanged();
}

void Editor::ComposeMessage(const QString& text) {
    // The red marks go on screen before the box opens over them.
    ui.SurfaceChanged();
    ui.RepaintNow();
    ui.ComposeMessage(text);
}

void Editor::CenterViewOn(int x, int y) {
    const QSize client = ui.ViewClientSize();
    ui.SetScrollPos(QPoint(x - client.width() / 2, y - client.height() / 2));
}

QString Editor::MouseReadout(int x, int y) {
    return QStringLiteral("%1:%2").arg(x, 4).arg(y);
}
