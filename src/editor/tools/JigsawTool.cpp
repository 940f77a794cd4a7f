// Jigsaw mode: a press inside an area lifts its piece (edit/Jigsaw.h), its
// outline follows the pointer and the release drops it there.
#include <optional>
#include <vector>

#include "base/Messages.h"
#include "editor/Keys.h"
#include "editor/Services.h"
#include "editor/tools/Tools.h"
#include "ops/Jigsaw.h"
#include "render/Render.h"

bool JigsawTool::MayEnter() {
    // Pieces are found through the composed outlines, which must be current.
    if (wb.st.Completed) return true;
    wb.ui.Inform(msg::Text(Msg::ComposeAgainFirst), msg::Text(Msg::CapPlease), MsgIcon::None);
    return false;
}

void JigsawTool::Enter() {
    TakeOver();
    ShowMode(false, false, Cmd::PickUpMode);
}

void JigsawTool::Press(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton) PickUpPiece(p.x(), p.y());
}

void JigsawTool::Move(QPoint p) {
    if (PickFirst > 0) DragPiece(p.x(), p.y());
}

void JigsawTool::Release(Qt::MouseButton, QPoint p) {
    if (PickFirst > 0) DropPiece(p.x(), p.y());
}

bool JigsawTool::Key(int key, QPoint p) {
    if (key != vk::Return && key != vk::A) return false;
    if (PickFirst == 0)
        PickUpPiece(p.x(), p.y());
    else
        DropPiece(p.x(), p.y());
    return false;
}

void JigsawTool::Cancel() {
    PickFirst = PickLast = 0;
    PickArea = PickSlot = 0;
    TempPolyLast = -1;
}

namespace {

// The network alone, as the redraw paints it without the under-drawing: black
// field, the legend box, lines and points.
void DrawNetwork(const Store& st, Surface& s) {
    s.Fill(Black);
    render::DrawMap(st, s);
}

}  // namespace

void JigsawTool::PickUpPiece(int x, int y) {
    const Store& st = wb.st;
    // Over a shown under-drawing the probe would stop at every mark of the
    // scanned map (a town dot under the position, a river across the area),
    // so the region is probed on the network alone.
    std::optional<Piece> piece;
    Surface networkOnly;
    if (st.BasePicLoaded && st.BasePicShown &&
        networkOnly.Resize(wb.surf.Width(), wb.surf.Height())) {
        DrawNetwork(st, networkOnly);
        piece = FindPiece(st, networkOnly, x, y);
    } else {
        piece = FindPiece(st, wb.surf, x, y);
    }
    if (!piece) return;
    PickArea = int16_t(piece->area);
    PickSlot = int16_t(piece->slot);
    PickFirst = piece->first;
    PickLast = piece->last;
    PickAnchorX = PickPrevX = int16_t(x);
    PickAnchorY = PickPrevY = int16_t(y);
    // Only the outline shown while dragging is limited to the buffer; the drop
    // moves the whole chain.
    TempPolyLast = -1;
    for (int32_t i = PickFirst; i <= PickLast && TempPolyLast < 500; ++i) {
        ++TempPolyLast;
        TempPoly[size_t(TempPolyLast)] = {st.PointX(i), st.PointY(i)};
    }
}

namespace {

void XorOutline(Surface& s, const std::array<PolyPoint, 501>& poly, int last) {
    std::vector<QPoint> pts;
    pts.reserve(size_t(last + 1));
    for (int i = 0; i <= last; ++i) pts.emplace_back(poly[size_t(i)].x, poly[size_t(i)].y);
    s.Polyline(pts);
}

}  // namespace

void JigsawTool::DragPiece(int x, int y) {
    if (PickFirst <= 0) return;
    Surface& surf = wb.surf;
    const uint8_t oldPen = surf.Pen();
    const Rop oldRop = surf.CurrentRop();
    // White inverts every palette index, so the outline shows on any colour
    // and a second pass takes it away exactly.
    surf.SetPen(White);
    surf.SetRop(Rop::Xor);
    XorOutline(surf, TempPoly, TempPolyLast);
    const int dx = x - PickPrevX, dy = y - PickPrevY;
    for (int i = 0; i <= TempPolyLast; ++i) {
        TempPoly[size_t(i)].x += dx;
        TempPoly[size_t(i)].y += dy;
    }
    XorOutline(surf, TempPoly, TempPolyLast);
    surf.SetPen(oldPen);
    surf.SetRop(oldRop);
    PickPrevX = int16_t(x);
    PickPrevY = int16_t(y);
    wb.ui.SurfaceChanged();
}

void JigsawTool::DropPiece(int x, int y) {
    if (PickFirst <= 0) return;
    const Piece piece{PickArea, PickSlot, PickFirst, PickLast};
    Store moved = wb.st;
    MovePiece(moved, piece, x - PickAnchorX, y - PickAnchorY);
    wb.doc.ReplaceMap(std::move(moved));
    wb.doc.MarkChanged();
    PickFirst = 0;
    TempPolyLast = -1;
    ReDraw(wb);
}
