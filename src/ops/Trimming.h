// Trimming: cutting the traced network down to (or out of) a drawn outline.
// The inside/outside decision is made by pixel colour: the outline is filled
// yellow on the surface and every point is judged by the pixel under it.
#pragma once

#include <cstdint>

class Store;
class Surface;

enum class TrimSide { Outside, Inside };

// Whether a point counts as inside the filled outline. Points off the surface
// are outside.
bool TrimInside(const Surface& s, int x, int y);

// Replaces every point on the deleted side by a separator, in one pass.
// Returns how many points were cut.
int64_t TrimPoints(Store& st, const Surface& s, TrimSide side);

// Removes the area positions on the deleted side. Returns how many went.
int TrimPositions(Store& st, const Surface& s, TrimSide side);

// Removes the positions whose region, probed by a blue fill over black, reaches
// the pixel (1, 1), i.e. is open to the map's surroundings. The fills of the
// enclosed regions stay blue; the caller redraws. Returns how many went.
int DropOpenPositions(Store& st, Surface& s);

// Removes slot k of area a: the later slots move down one place and the last
// slot becomes the end of the list.
void RemovePositionSlot(Store& st, int a, int k);
