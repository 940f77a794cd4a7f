#include "view/SurfaceBudget.h"

#include "core/Messages.h"
#include "core/Ui.h"

SurfaceBudget& CurrentSurfaceBudget() {
    static SurfaceBudget budget;
    return budget;
}

bool MayGrowSurface(Ui& ui, int64_t w, int64_t h, const QString& caption) {
    const SurfaceBudget& b = CurrentSurfaceBudget();
    const int64_t bytes = w * h;
    if (bytes <= b.bytes) return true;
    const int64_t mb = (bytes + (1 << 20) - 1) >> 20, limit = b.bytes >> 20;
    if (!b.ask) {
        ui.Inform(msg::Text(Msg::SurfaceOverBudget).arg(w).arg(h).arg(mb).arg(limit), caption,
                  MsgIcon::Error);
        return false;
    }
    return ui.AskYesNo(msg::Text(Msg::SurfaceBudgetAsk).arg(w).arg(h).arg(mb).arg(limit), caption);
}
