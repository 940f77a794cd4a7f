// The whole composition on a prepared store and surface, without any user
// interface: every traced position of every area in area-then-slot order,
// then the cut, the rebuild of the point list and the kind-group merge.
// The editor's menu command and the command-line tool both run it.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "compose/OutlineTracer.h"
#include "raster/Surface.h"
#include "store/Store.h"

namespace compose {

// The positions the composition traces for area a: slots 0..9 up to the first
// whose X is not positive.
int TracedSlots(const Store& st, int a);

struct Failure {
    int area = 0, slot = 0;
    Pt position;
    TraceResult result;
};

struct ComposeHooks {
    std::function<void()> areaTick;        // once per area where the bar steps
    std::function<void(Pt node)> lostWay;  // red marks are painted already
    std::function<void()> traced;          // every outline closed; the cut begins
    std::function<void()> cutTick;
    std::function<void()> rebuilt;  // the point list is half done
    // Set when nobody has painted the surface yet (it is blank, of the size
    // the painted one would have): the composition works from the network
    // alone and calls paint() only when a failure or a lost way has to be
    // shown, then runs again on the painted surface. paint() must leave the
    // surface as the editor's preparation would.
    std::function<void()> paint;
};

// Expects the point list normalised and ending with a separator, and the
// surface showing it yellow on black with the nodes lime. On failure the store
// is unchanged and the surface shows the failure's marks.
// maxRecords bounds the outlines kept in memory and the rebuilt list.
std::optional<Failure> ComposeMap(Store& st, Surface& surf, const ComposeHooks& hooks = {},
                                  int64_t maxRecords = Store::Capacity);

// Paints the composition view without the editor: black, every segment and
// point yellow, every coordinate held by two or more records lime.
void PaintNetwork(const Store& st, Surface& surf);

// Every position traced on its own, as the composition would trace it when all
// positions before it succeeded. The surface is restored after each. With
// paint set and the surface blank, the positions are traced from the network
// alone, as ComposeMap does with its paint hook: nothing is painted unless a
// position needs the painted surface, and then paint() is called and the
// check runs again on it.
struct CheckEntry {
    int area = 0, slot = 0;
    Pt position;
    TraceResult result;
};
std::vector<CheckEntry> CheckPositions(const Store& st, Surface& surf,
                                       const std::function<void()>& areaTick = {},
                                       const std::function<void()>& paint = {});

}  // namespace compose
