#include "editor/Report.h"

#include "editor/Ui.h"
#include "raster/SurfaceBudget.h"

bool MayGrowSurface(Ui& ui, int64_t w, int64_t h, const QString& caption) {
    const SurfaceBudget& b = CurrentSurfaceBudget();
    if (w * h <= b.bytes) return true;
    if (!b.ask) {
        ui.Inform(SurfaceRefusal(w, h), caption, MsgIcon::Error);
        return false;
    }
    return ui.AskYesNo(SurfaceBudgetQuestion(w, h), caption);
}
