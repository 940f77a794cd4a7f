// Area-position mode: the dialog is open, and a click inside a region gives
// the selected area a position there. It fills the first empty box of the
// dialog (the table takes the boxes over when the selection changes or the
// dialog closes) and floods the region, so an open boundary shows at once.
#include <memory>

#include "render/RegionFills.h"
#include "editor/Editor.h"
#include "editor/tools/Tools.h"
#include "base/Messages.h"
#include "text/ShiftJis.h"

void AreaPositionTool::Enter() {
    TakeOver();
    ed.ui.SetSurfaceCursor(Cursor());
}

void AreaPositionTool::Press(Qt::MouseButton button, QPoint p) {
    if (button != Qt::LeftButton) return;
    const int x = p.x(), y = p.y();
    // The dialog's fills, labelled while it is open.
    if (!ed.areaPositions.zpotFills) ed.areaPositions.zpotFills = std::make_shared<areas::RegionFills>();
    if (!MaySharePlace(x, y)) return;
    auto boxes = ed.ui.ZpotBoxes();
    for (auto& b : boxes) {
        if (b.trimmed().isEmpty()) {
            b = QStringLiteral("%1,%2").arg(x).arg(y);
            ed.ui.ZpotSetBoxes(boxes);
            break;
        }
    }
    ed.areaPositions.zpotFills->Fill(ed.surf, x, y, Aqua);
    ed.areaPositions.zpotFills->SetPixel(ed.surf, x, y, Navy);
    ed.doc.DropCompleted();
    ed.ui.SurfaceChanged();
}

bool AreaPositionTool::MaySharePlace(int x, int y) {
    // Two areas in one region compose to one outline and fail: a click that
    // would make that asks first, naming the area already there.
    const int here = ed.areaPositions.zpotFills->RegionOf(ed.surf, x, y);
    if (here < 0) return true;
    for (int a = 1; a <= ed.st.AreaCount; ++a) {
        if (a == ed.areaPositions.ZpotSelected) continue;
        for (int k = 0; k < Store::Slots && ed.st.AreaPos(k, a).x != 0; ++k) {
            const Rec q = ed.st.AreaPos(k, a);
            if (q.x < 1 || ed.areaPositions.zpotFills->RegionOf(ed.surf, q.x, q.y) != here) continue;
            return ed.ui.AskYesNo(
                msg::Format(Msg::ZpotSharedRegionAsk,
                            {sjis::ToUnicode(ed.st.AreaName(a)),
                             sjis::ToUnicode(ed.st.AreaName(ed.areaPositions.ZpotSelected))}),
                msg::Text(Msg::CapConfirm));
        }
    }
    return true;
}

bool AreaPositionTool::GestureUnderWay() const {
    return ed.st.Mode == Mode();
}
