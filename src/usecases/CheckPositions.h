// 全区域の点検 and `velmot-cli check`: every area position traced on its own
// against the network the composition would read. Checking never changes the
// map: the tracing works on a readied copy and a surface of its own.
#pragma once

#include <vector>

#include "compose/Composer.h"
#include "usecases/Result.h"
#include "raster/Surface.h"

class Progress;

namespace usecase {

// The point list readied for tracing as the composition readies it: every
// segment once, tidied. False, with the warning to show and v as it was,
// when even the tidied list would not fit the store. The progress bar (when
// given) runs as the composition's preparation runs it.
bool WithoutRepeatedSegments(std::vector<Rec>& v, Progress* progress, Message* refused);

struct CheckOptions {
    Progress* progress = nullptr;  // none: nobody watches
    // Hand back the view the positions were traced on, painted whenever a
    // position failed, so a list of failures can mark their regions on it.
    bool keepNetwork = false;
};

struct CheckOutcome {
    // ok: every position closed (or there was none); its message says so,
    // as the window tells it. Not ok: some failed, nothing to say.
    Result result;
    Message note;  // the network could not be readied in full (a warning)
    std::vector<compose::CheckEntry> entries;
    Surface network;  // when asked for
};

// Traces every position of `map` as `surf` would show the composition view.
// Without lines or named areas there is nothing to check.
CheckOutcome CheckAllPositions(const Store& map, const Surface& surf, const CheckOptions& options);

}  // namespace usecase
