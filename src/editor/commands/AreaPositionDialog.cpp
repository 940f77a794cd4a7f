// The area-position dialog: the user picks an area name and clicks inside its
// regions; every click floods the clicked region so that an open boundary
// shows at once.
#include "editor/commands/AreaPositionDialog.h"

#include <QStringList>

#include "base/Messages.h"
#include "editor/Services.h"
#include "render/RegionFills.h"
#include "text/ShiftJis.h"
#include "text/TextEntry.h"

namespace {
constexpr int Boxes = 9;
// Slots 0..9 are looked at when painting; the dialog shows and edits 0..8.
constexpr int PaintedSlots = 10;

bool BoxEmpty(const QString& s) {
    return s.trimmed().isEmpty();
}
}  // namespace

namespace areas {

// The boxes as positions; on a box that does not parse, error names it.
bool ParseBoxes(const std::array<QString, Boxes>& boxes, std::vector<Rec>& out, QString& error) {
    out.clear();
    for (int b = 0; b < Boxes; ++b) {
        if (BoxEmpty(boxes[size_t(b)])) continue;
        const std::string text = sjis::FromUnicode(boxes[size_t(b)]);
        std::string xs, ys;
        SplitAt(',', text, xs, ys);
        const auto x = ParseStrictInt16(xs);
        const auto y = ParseStrictInt16(ys);
        if (text.find(',') == std::string::npos || !x || !y) {
            error = msg::Text(Msg::PositionBad).arg(b + 1).arg(boxes[size_t(b)]);
            return false;
        }
        out.push_back({*x, *y});
    }
    return true;
}

std::array<QString, Boxes> BoxesOf(const Store& st, int a) {
    std::array<QString, Boxes> boxes;
    for (int k = 0; k < Boxes; ++k) {
        const Rec p = st.AreaPos(k, a);
        if (p.x == 0) break;
        if (p.x >= 1) boxes[size_t(k)] = QStringLiteral("%1,%2").arg(p.x).arg(p.y);
    }
    return boxes;
}

}  // namespace areas

namespace {

// Border fill from a position. The surface's fill stops at pixels that already
// have the fill colour, and a position pixel often does (the navy mark of a
// formerly selected area): clear it first so that the whole region repaints.
void FillRegion(areas::RegionFills& fills, Surface& s, int x, int y, uint8_t fill) {
    const uint8_t c = fills.Pixel(s, x, y);
    if (c == White || c == NoColour) return;
    if (c == fill) fills.SetPixel(s, x, y, Black);
    fills.Fill(s, x, y, fill);
}

}  // namespace

// Writes the boxes into the selected area; false (with a message) when one
// does not parse, and then the table keeps its previous content.
bool AreaPositionDialog::TakeOverBoxes() {
    std::vector<Rec> pos;
    QString error;
    if (!areas::ParseBoxes(wb.ui.ZpotBoxes(), pos, error)) {
        wb.ui.Inform(error, msg::Text(Msg::CapPosition), MsgIcon::Warning);
        return false;
    }
    const int a = ZpotSelected;
    if (a < 1 || a > Store::MaxAreas) return true;
    // An area may have a tenth position (typed in the area-name editor or read
    // from a finished map) that no box shows; it stays after the boxes' ones
    // rather than being lost because the area was merely selected.
    bool listReachesHidden = true;
    for (int k = 0; k < Boxes; ++k) listReachesHidden &= wb.st.AreaPos(k, a).x != 0;
    const Rec hidden = wb.st.AreaPos(Boxes, a);
    const bool keepHidden = listReachesHidden && hidden.x != 0;
    if (keepHidden) pos.push_back(hidden);
    int j = 0;
    for (const Rec& p : pos) {
        if (!(wb.st.AreaPos(j, a) == p)) wb.doc.MarkChanged();
        wb.doc.PlaceArea(j++, a, p);
    }
    if (!(wb.st.AreaPos(j, a) == Rec{0, 0})) wb.doc.MarkChanged();
    wb.doc.PlaceArea(j, a, Rec{0, 0});
    // Moved up into a box that was emptied: show it there, or the next
    // take-over would not know it.
    if (keepHidden && j <= Boxes) wb.ui.ZpotSetBoxes(areas::BoxesOf(wb.st, a));
    return true;
}

areas::RegionFills& AreaPositionDialog::Fills() {
    if (!zpotFills) zpotFills = std::make_shared<areas::RegionFills>();
    return *zpotFills;
}

void AreaPositionDialog::PaintRegions() {
    areas::RegionFills& fills = Fills();
    fills.Defer();
    for (int a = 1; a <= st.AreaCount; ++a) {
        for (int k = 0; k < PaintedSlots; ++k) {
            const Rec p = st.AreaPos(k, a);
            if (p.x == 0) break;
            if (p.x >= 1) FillRegion(fills, wb.surf, p.x, p.y, Navy);
        }
    }
    const int sel = ZpotSelected;
    if (sel >= 1 && sel <= st.AreaCount) {
        for (int k = 0; k < PaintedSlots; ++k) {
            const Rec p = st.AreaPos(k, sel);
            if (p.x == 0) break;
            if (p.x < 1) continue;
            FillRegion(fills, wb.surf, p.x, p.y, Aqua);
            fills.SetPixel(wb.surf, p.x, p.y, Navy);
        }
    }
    fills.Flush(wb.surf);
    wb.ui.SurfaceChanged();
}

void AreaPositionDialog::ShowSelected() {
    wb.ui.ZpotSetBoxes(areas::BoxesOf(wb.st, ZpotSelected));
}

void AreaPositionDialog::ZoneArrangeClick() {
    // The command is only enabled with named areas; an empty list would have
    // nothing to select.
    if (st.AreaCount < 1) return;
    wb.modes.SwitchMode(Mode::AreaPosition);
    wb.canvas.DisplayMap(White, White);
    doc.DropCompleted();

    QStringList names;
    for (int a = 1; a <= st.AreaCount; ++a) names << sjis::ToUnicode(st.AreaName(a));
    ui.ZpotShow(names);
    ZpotOpen = true;
    ui.SetBusy(true);
    ZpotSelected = 1;
    PaintRegions();
    ShowSelected();
    ui.ZpotSelect(0);
    ui.SetBusy(false);
}

void AreaPositionDialog::ZpotListClick(int index) {
    Steps::Scope scope(wb.steps);
    if (!TakeOverBoxes()) {
        // Stay on the area whose boxes need fixing.
        ui.ZpotSelect(ZpotSelected - 1);
        return;
    }
    if (index < 0 || index >= st.AreaCount) return;
    ZpotSelected = index + 1;
    PaintRegions();
    ShowSelected();
}

void AreaPositionDialog::ZpotRedrawClick() {
    Steps::Scope scope(wb.steps);
    wb.canvas.DisplayMap(White, White);
    TakeOverBoxes();
    PaintRegions();
}

bool AreaPositionDialog::ZpotClose() {
    Steps::Scope scope(wb.steps);
    // Closing twice (OK, then the hide that follows) is harmless.
    if (!ZpotOpen) return true;
    ui.SetBusy(true);
    if (!TakeOverBoxes()) {
        ui.SetBusy(false);
        return false;
    }
    ZpotOpen = false;
    zpotFills.reset();  // the labels are only of use while the dialog is open
    wb.modes.SwitchMode(Mode::Input);
    ReDraw(wb);
    ui.SetBusy(false);
    return true;
}
