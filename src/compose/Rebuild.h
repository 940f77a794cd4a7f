// After tracing: the traced segments are cut out of the network, and the
// point list is rebuilt as the outlines followed by the leftover lines.
// All of it works on plain record vectors in a few linear passes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "store/Store.h"

namespace compose {

class NetworkIndex;

// Cuts every occurrence of every segment between consecutive non-separator
// records of the stream out of pts (records 0..PointLast, ending with a
// separator): a chain loses the segment and is split there. tick is called
// once every (PointLast div 5 + 1) stream pairs.
std::vector<Rec> CutTracedSegments(const std::vector<Rec>& pts, const std::vector<Rec>& stream,
                                   const std::function<void()>& tick = {});
// The same over the composition's own index of pts (no second sort of the list).
std::vector<Rec> CutTracedSegments(const NetworkIndex& net, const std::vector<Rec>& stream,
                                   const std::function<void()>& tick = {});
// ... knowing, beside the stream, the list segment each pair was walked along
// (walked[k] for stream[k - 1] to stream[k], -1 where unknown): such a pair
// needs no search unless the list holds its segment twice.
std::vector<Rec> CutTracedSegments(const NetworkIndex& net, const std::vector<Rec>& stream,
                                   const std::vector<int32_t>& walked,
                                   const std::function<void()>& tick = {});

// Removes lone points (a point between two separators) and then records equal
// to the one before them, with the same outcome as doing it record by record
// from the end of the list.
std::vector<Rec> TidyRecords(const std::vector<Rec>& pts);

// The new point list: the stream's outlines, then the network, dropping every
// record equal to the one kept before it, ending with a separator.
std::vector<Rec> RebuildPointList(const std::vector<Rec>& stream, const std::vector<Rec>& network);

}  // namespace compose
