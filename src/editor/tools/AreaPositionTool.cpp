// Area-position mode: the dialog is open, and a click inside a region gives
// the selected area a position there. It fills the first empty box of the
// dialog (the table takes the boxes over when the selection changes or the
// dialog closes) and floods the region, so an open boundary shows at once.
#include <memory>

#include "base/Messages.h"
#include "editor/Services.h"
#include "editor/commands/AreaPositionDialog.h"
#include "editor/tools/Tools.h"
#include "render/RegionFills.h"
#include "text/ShiftJis.h"

void AreaPositionTool::Enter() {
    TakeOver();
    wb.ui.SetSurfaceCursor(Cursor());
}

void AreaPositionTool::Press(Qt::MouseButton button, QPoint p) {
    if (button != Qt::LeftButton) return;
    const int x = p.x(), y = p.y();
    // The dialog's fills, labelled while it is open.
    if (!areaPositions_.zpotFills)
        areaPositions_.zpotFills = std::make_shared<areas::RegionFills>();
    if (!MaySharePlace(x, y)) return;
    auto boxes = wb.ui.ZpotBoxes();
    for (auto& b : boxes) {
        if (b.trimmed().isEmpty()) {
            b = QStringLiteral("%1,%2").arg(x).arg(y);
            wb.ui.ZpotSetBoxes(boxes);
            break;
        }
    }
    areaPositions_.zpotFills->Fill(wb.surf, x, y, Aqua);
    areaPositions_.zpotFills->SetPixel(wb.surf, x, y, Navy);
    wb.doc.DropCompleted();
    wb.ui.SurfaceChanged();
}

bool AreaPositionTool::MaySharePlace(int x, int y) {
    // Two areas in one region compose to one outline and fail: a click that
    // would make that asks first, naming the area already there.
    const int here = areaPositions_.zpotFills->RegionOf(wb.surf, x, y);
    if (here < 0) return true;
    for (int a = 1; a <= wb.st.AreaCount; ++a) {
        if (a == areaPositions_.ZpotSelected) continue;
        for (int k = 0; k < Store::Slots && wb.st.AreaPos(k, a).x != 0; ++k) {
            const Rec q = wb.st.AreaPos(k, a);
            if (q.x < 1 || areaPositions_.zpotFills->RegionOf(wb.surf, q.x, q.y) != here) continue;
            return wb.ui.AskYesNo(
                msg::Format(Msg::ZpotSharedRegionAsk,
                            {sjis::ToUnicode(wb.st.AreaName(a)),
                             sjis::ToUnicode(wb.st.AreaName(areaPositions_.ZpotSelected))}),
                msg::Text(Msg::CapConfirm));
        }
    }
    return true;
}

bool AreaPositionTool::GestureUnderWay() const {
    return wb.st.Mode == Mode();
}
