// Jigsaw mode: lifting one composed outline (a "piece") and its position and
// dropping them elsewhere.
#pragma once

#include <cstdint>
#include <optional>

class Store;
class Surface;

struct Piece {
    int area = 0, slot = 0;       // the position that identified it
    int32_t first = 0, last = 0;  // its chain in the point list
};

// The j-th chain (1-based) of the point list: the j-th record with X above 0
// that follows a separator, up to the record before the next separator (or
// the end of the list). False when the list has fewer chains.
bool ChainByRank(const Store& st, int64_t j, int32_t& first, int32_t& last);

// The piece under (x, y): the region around it is probed with a blue fill, the
// position inside the probe gives the area and slot, and the position's rank
// among all positions gives the chain of the composed list. The probe is
// undone before returning, whatever the result.
std::optional<Piece> FindPiece(const Store& st, Surface& s, int x, int y);

// Moves every record of the chain and the identifying position by (dx, dy),
// with the offset limited so that no point reaches X <= 0 (where it would read
// as a separator) or leaves the 16-bit range. Returns whether it was limited.
bool MovePiece(Store& st, const Piece& p, int dx, int dy);
