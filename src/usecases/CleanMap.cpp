#include "usecases/CleanMap.h"

namespace usecase {

CleanOutcome CleanNetwork(Store& map, const compose::RepairOptions& options) {
    CleanOutcome out;
    compose::Repaired r = compose::RepairNetwork(map.PointsToVector(), map.KindsToVector(), options);
    out.repairs = std::move(r.repairs);
    int made = 0;
    for (const compose::Repair& p : out.repairs)
        if (p.kind != compose::RepairKind::CrossingKept) ++made;
    if (made == 0) {
        out.result.message = Say(Msg::RepairNothing, {}, Msg::RepairButton, MsgIcon::Information);
        return out;
    }
    Store mended = map;
    if (!mended.AssignPoints(r.points) || !mended.AssignKinds(r.kinds)) {
        out.result.message = Say(Msg::RepairTooMany, {}, Msg::RepairButton, MsgIcon::Warning);
        return out;
    }
    mended.MarkEdited();
    mended.ForgetComposition();
    map = std::move(mended);
    out.result.ok = true;
    out.result.message =
        Say(Msg::RepairDone, {QString::number(made)}, Msg::RepairButton, MsgIcon::Information);
    return out;
}

}  // namespace usecase
