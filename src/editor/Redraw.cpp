// ReDraw: the work painted anew. It is the one place where a redraw leaves
// line-kind mode: the kinds' colours exist only on the surface, and the
// mode's exit repaints without them. Canvas paints and never switches modes;
// Modes switches and asks Canvas to paint.
#include "editor/Canvas.h"
#include "editor/Modes.h"
#include "editor/Ui.h"
#include "editor/Workbench.h"
#include "store/Store.h"

bool ReDraw(Workbench& wb) {
    wb.ui.SetBusy(true);
    if (wb.st.Mode == Mode::LineKind) {
        // Leaving line-kind mode redraws (with the new mode) on the way out:
        // the mode's exit paints through Repaint, never back here.
        wb.modes.SwitchMode(Mode::Input);
        return wb.canvas.lastRedrawOk_;
    }
    return wb.canvas.Repaint();
}
