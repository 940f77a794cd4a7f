// Repairs of the network, for the problem list's 修正 and `velmot-cli clean`:
// the point and kind lists mended where hand tracing left crossings without
// a shared point, ends short of or past a line, short dead ends and segments
// traced twice. The area table is left as it is.
#pragma once

#include <vector>

#include "compose/Repair.h"
#include "store/Store.h"
#include "usecases/Result.h"

namespace usecase {

struct CleanOutcome {
    // ok: the map changed (its message counts the repairs); not ok: nothing
    // to repair, or the mended list would not fit (the message says which).
    Result result;
    std::vector<compose::Repair> repairs;  // made and, as CrossingKept, declined
};

// Mends the network of `map` in place; on failure map is as it was. The map
// counts as edited and no longer composed when anything changed.
CleanOutcome CleanNetwork(Store& map, const compose::RepairOptions& options);

}  // namespace usecase
