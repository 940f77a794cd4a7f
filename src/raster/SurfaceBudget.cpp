#include "raster/SurfaceBudget.h"

#include "base/Messages.h"

SurfaceBudget& CurrentSurfaceBudget() {
    static SurfaceBudget budget;
    return budget;
}

namespace {
QString BudgetText(Msg id, int64_t w, int64_t h, int depth = 1) {
    const int64_t bytes = w * h * depth;
    const int64_t mb = (bytes + (1 << 20) - 1) >> 20, limit = CurrentSurfaceBudget().bytes >> 20;
    return msg::Text(id).arg(w).arg(h).arg(mb).arg(limit);
}
}  // namespace

QString SurfaceRefusal(int64_t w, int64_t h) {
    if (w * h <= CurrentSurfaceBudget().bytes) return QString();
    return BudgetText(Msg::SurfaceOverBudget, w, h);
}

QString SurfaceBudgetQuestion(int64_t w, int64_t h) {
    return BudgetText(Msg::SurfaceBudgetAsk, w, h);
}

QString ImageRefusal(int64_t w, int64_t h, int depth, Msg refuse) {
    if (w * h * depth <= CurrentSurfaceBudget().bytes) return QString();
    return BudgetText(refuse, w, h, depth);
}

QString ImageBudgetQuestion(int64_t w, int64_t h, int depth, Msg ask) {
    return BudgetText(ask, w, h, depth);
}
