// Area-position mode: the dialog is open, and a click inside a region gives
// the selected area a position there. It fills the first empty box of the
// dialog (the table takes the boxes over when the selection changes or the
// dialog closes) and floods the region, so an open boundary shows at once.
#include <memory>

#include "render/RegionFills.h"
#include "editor/Editor.h"
#include "editor/tools/Tools.h"

void AreaPositionTool::Enter() {
    TakeOver();
    ed.ui.SetSurfaceCursor(Cursor());
}

void AreaPositionTool::Press(Qt::MouseButton button, QPoint p) {
    if (button != Qt::LeftButton) return;
    const int x = p.x(), y = p.y();
    auto boxes = ed.ui.ZpotBoxes();
    for (auto& b : boxes) {
        if (b.trimmed().isEmpty()) {
            b = QStringLiteral("%1,%2").arg(x).arg(y);
            ed.ui.ZpotSetBoxes(boxes);
            break;
        }
    }
    // The dialog's fills, labelled while it is open.
    if (!ed.zpotFills) ed.zpotFills = std::make_shared<areas::RegionFills>();
    ed.zpotFills->Fill(ed.surf, x, y, Aqua);
    ed.zpotFills->SetPixel(ed.surf, x, y, Navy);
    ed.doc.DropCompleted();
    ed.ui.SurfaceChanged();
}

bool AreaPositionTool::GestureUnderWay() const {
    return ed.st.Mode == Mode();
}
