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

bool MayTakeImage(Ui& ui, int64_t w, int64_t h, int depth, Msg ask, Msg refuse,
                  const QString& caption) {
    const QString refusal = ImageRefusal(w, h, depth, refuse);
    if (refusal.isEmpty()) return true;
    if (!CurrentSurfaceBudget().ask) {
        ui.Inform(refusal, caption, MsgIcon::Error);
        return false;
    }
    return ui.AskYesNo(ImageBudgetQuestion(w, h, depth, ask), caption);
}
