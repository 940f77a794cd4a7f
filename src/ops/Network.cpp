#include "ops/Network.h"

#include <algorithm>
#include <cstdint>

#include "base/Messages.h"

namespace net {

void Tidy(std::vector<Rec>& v, const std::function<void()>& afterLonePoints) {
    const int64_t last = int64_t(v.size()) - 1;
    // Deleting a pair only shifts the records above it, and the walk goes
    // downwards, so every test reads records at their original places: the
    // pairs to drop can be found first and removed in one compaction.
    std::vector<uint8_t> gone(v.size(), 0);
    for (int64_t i = last; i >= 2;) {
        if (v[size_t(i)].x == 0 && v[size_t(i - 2)].x == 0) {
            gone[size_t(i - 1)] = gone[size_t(i)] = 1;
            i -= 2;
        } else {
            i -= 1;
        }
    }
    if (afterLonePoints) afterLonePoints();
    // Dropping a record equal to its predecessor, from the top down, keeps the
    // first of every run of equal records: that is a plain unique pass.
    size_t out = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        if (gone[i]) continue;
        if (out > 0 && v[out - 1] == v[i]) continue;
        v[out++] = v[i];
    }
    v.resize(out);
}

namespace {

uint32_t Pack(Rec r) {
    return (uint32_t(uint16_t(r.x)) << 16) | uint16_t(r.y);
}

// An open-addressing set of undirected segments. A real segment has x != 0 at
// both ends, so its key is never 0, which marks an empty slot.
class SegmentSet {
  public:
    explicit SegmentSet(size_t expected) {
        size_t cap = 16;
        while (cap < expected * 2) cap <<= 1;
        slots_.assign(cap, 0);
        mask_ = cap - 1;
    }
    // Inserts the key; true when it was there already.
    bool Insert(uint64_t key) {
        size_t h = size_t((key * 0x9E3779B97F4A7C15ull) >> 20) & mask_;
        while (slots_[h] != 0) {
            if (slots_[h] == key) return true;
            h = (h + 1) & mask_;
        }
        slots_[h] = key;
        return false;
    }

  private:
    std::vector<uint64_t> slots_;
    size_t mask_ = 0;
};

uint64_t SegmentKey(Rec p, Rec q) {
    const uint32_t a = Pack(p), b = Pack(q);
    return (uint64_t(std::min(a, b)) << 32) | std::max(a, b);
}

}  // namespace

void DropRepeatedSegments(std::vector<Rec>& v, const std::function<void()>& tick) {
    if (v.empty()) return;
    const int64_t n = int64_t(v.size()) - 1;
    // marked[i]: the segment from record i to i + 1 has a later twin and is
    // dropped (later also set on chain ends, see below).
    std::vector<uint8_t> marked(size_t(n) + 1, 0);

    // Walking down, the set holds exactly the segments that start above i.
    size_t segments = 0;
    for (int64_t i = 0; i < n; ++i)
        if (v[size_t(i)].x != 0 && v[size_t(i + 1)].x != 0) ++segments;
    SegmentSet later(segments);
    const int64_t every = n / 8 + 1;
    for (int64_t i = n - 1; i >= 0; --i) {
        const Rec p = v[size_t(i)], q = v[size_t(i + 1)];
        if (i <= n - 2 && tick && i % every == 0) tick();
        if (p.x == 0 || q.x == 0) continue;
        if (later.Insert(SegmentKey(p, q))) marked[size_t(i)] = 1;
    }

    // Carry the marks to chain ends: the separator before a chain whose first
    // segment goes, and the last point of a chain whose last segment goes.
    // Runs in order, so a mark set here can carry on over doubled separators.
    for (int64_t i = 0; i <= n - 2; ++i) {
        const size_t k = size_t(i);
        if (!marked[k] && marked[k + 1] && v[k].x == 0) marked[k] = 1;
        if (marked[k] && !marked[k + 1] && v[k + 2].x == 0) marked[k + 1] = 1;
    }

    // A record survives while one of its two segments does; a chain is cut
    // after a point whose outgoing segment went.
    std::vector<Rec> out;
    out.reserve(v.size() + v.size() / 8);
    out.push_back(v[0]);
    int16_t lastX = v[0].x;
    bool prevMarked = marked[0];
    for (int64_t i = 1; i <= n; ++i) {
        const Rec r = v[size_t(i)];
        const bool t = marked[size_t(i)];
        if ((r.x == 0 && lastX > 0) || !prevMarked || !t) {
            out.push_back(r);
            lastX = r.x;
            if (t && r.x > 0) {
                out.push_back(Rec{0, 0});
                lastX = 0;
            }
        }
        prevMarked = t;
    }
    v.swap(out);
}

void RemoveRepeatedSegments(std::vector<Rec>& v) {
    DropRepeatedSegments(v);
    Tidy(v);
}

}  // namespace net
