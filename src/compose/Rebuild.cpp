#include "compose/Rebuild.h"

#include <algorithm>

namespace compose {
namespace {

uint64_t SegKey(Rec a, Rec b) {
    const uint32_t ka = (uint32_t(uint16_t(a.x)) << 16) | uint16_t(a.y);
    const uint32_t kb = (uint32_t(uint16_t(b.x)) << 16) | uint16_t(b.y);
    return ka < kb ? (uint64_t(ka) << 32) | kb : (uint64_t(kb) << 32) | ka;
}

struct SegEntry {
    uint64_t key;
    int32_t at;
    friend bool operator<(const SegEntry& l, const SegEntry& r) {
        return l.key != r.key ? l.key < r.key : l.at < r.at;
    }
};

}  // namespace

std::vector<Rec> CutTracedSegments(const std::vector<Rec>& pts, const std::vector<Rec>& stream,
                                   const std::function<void()>& tick) {
    // Cuts never join records, so the only segments that can match are those
    // of the list as it stands now: index them once (undirected). A cut in
    // the middle of a chain becomes a separator after the segment's first
    // record (sepAfter) instead of an insertion that shifts the list.
    std::vector<Rec> rec(pts);
    const int32_t n = int32_t(rec.size());
    if (n == 0) return rec;
    std::vector<SegEntry> segs;
    for (int32_t i = 0; i + 1 < n; ++i)
        if (rec[size_t(i)].x != 0 && rec[size_t(i) + 1].x != 0)
            segs.push_back({SegKey(rec[size_t(i)], rec[size_t(i) + 1]), i});
    std::sort(segs.begin(), segs.end());
    std::vector<char> sepAfter(size_t(n), 0);

    auto x = [&](int32_t i) -> int {  // X of the record logically at i's place
        return (i < 0 || i >= n) ? 0 : rec[size_t(i)].x;
    };
    const int32_t every = (n - 1) / 5 + 1;
    int32_t pairs = 0;
    for (size_t k = 1; k < stream.size(); ++k) {
        const Rec P = stream[k - 1], Q = stream[k];
        if (tick && ++pairs % every == 0) tick();
        if (P.x == 0 || Q.x == 0) continue;
        const uint64_t key = SegKey(P, Q);
        auto it = std::lower_bound(segs.begin(), segs.end(), SegEntry{key, -1});
        for (; it != segs.end() && it->key == key; ++it) {
            const int32_t i = it->at;
            if (sepAfter[size_t(i)] || rec[size_t(i)].x == 0 || rec[size_t(i) + 1].x == 0) continue;
            if (i + 1 >= n - 1) continue;  // the list's last record is never a segment start
            const int left = (i > 0 && sepAfter[size_t(i) - 1]) ? 0 : x(i - 1);
            const int right = sepAfter[size_t(i) + 1] ? 0 : x(i + 2);
            if (left == 0) rec[size_t(i)] = Rec{};
            if (right == 0) rec[size_t(i) + 1] = Rec{};
            if (left > 0 && right > 0) sepAfter[size_t(i)] = 1;
        }
    }
    std::vector<Rec> out;
    out.reserve(rec.size() + rec.size() / 8);
    for (int32_t i = 0; i < n; ++i) {
        out.push_back(rec[size_t(i)]);
        if (sepAfter[size_t(i)]) out.push_back(Rec{});
    }
    return out;
}

std::vector<Rec> TidyRecords(const std::vector<Rec>& pts) {
    const int32_t n = int32_t(pts.size()) - 1;
    std::vector<char> gone(pts.size(), 0);
    // Lone points, from the end: a deletion pulls the next check down by two.
    for (int32_t i = n; i >= 2;) {
        if (pts[size_t(i)].x == 0 && pts[size_t(i) - 2].x == 0) {
            gone[size_t(i) - 1] = gone[size_t(i)] = 1;
            i -= 2;
        } else {
            i -= 1;
        }
    }
    std::vector<Rec> out;
    out.reserve(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) {
        if (gone[i]) continue;
        if (!out.empty() && out.back() == pts[i]) continue;
        out.push_back(pts[i]);
    }
    return out;
}

std::vector<Rec> RebuildPointList(const std::vector<Rec>& stream, const std::vector<Rec>& network) {
    std::vector<Rec> out;
    out.reserve(stream.size() + network.size() + 2);
    Rec last{-1, -1};
    auto put = [&](Rec r) {
        if (r == last) return;
        out.push_back(r);
        last = r;
    };
    for (Rec r : stream) put(r);
    if (!network.empty() && network[0].x > 0) put(Rec{});
    for (Rec r : network) put(r);
    if (out.empty() || out.back().x > 0) out.push_back(Rec{});
    return out;
}

}  // namespace compose
