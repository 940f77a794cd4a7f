#include "compose/KindMerge.h"

#include <algorithm>
#include <unordered_map>

namespace compose {
namespace {

struct Group {
    int32_t s, e;  // first and last point index
    int16_t kind;
    bool used = false;
};

uint64_t EndKey(int16_t kind, Rec p) {
    return (uint64_t(uint16_t(kind)) << 32) | (uint32_t(uint16_t(p.x)) << 16) | uint16_t(p.y);
}

}  // namespace

std::vector<Rec> MergeKindGroups(const std::vector<Rec>& k) {
    const int32_t last = int32_t(k.size()) - 1;
    // Groups: a header (0, kind < 0) before the last record, followed by at
    // least one point; its points run to the next record with X <= 0.
    std::vector<Group> groups;
    for (int32_t i = 0; i < last; ++i) {
        if (k[size_t(i)].x != 0 || k[size_t(i)].y >= 0 || k[size_t(i) + 1].x <= 0) continue;
        int32_t e = i + 1;
        while (e < last && k[size_t(e) + 1].x > 0) ++e;
        groups.push_back({i + 1, e, k[size_t(i)].y});
        i = e;
    }
    // Groups by (kind, end point), in list order; each list is consumed from
    // the front as its groups get used, so a search skips each group once.
    std::unordered_map<uint64_t, std::vector<int32_t>> byEnd;
    std::unordered_map<uint64_t, size_t> front;
    for (int32_t g = 0; g < int32_t(groups.size()); ++g) {
        const Group& gr = groups[size_t(g)];
        byEnd[EndKey(gr.kind, k[size_t(gr.s)])].push_back(g);
        if (!(k[size_t(gr.e)] == k[size_t(gr.s)]))
            byEnd[EndKey(gr.kind, k[size_t(gr.e)])].push_back(g);
    }
    // The first unused group of the kind with an end at p: pos is its index
    // there (its start when both ends are p), other its far end; -1 if none.
    auto findJoining = [&](int16_t kind, Rec p, int32_t& pos, int32_t& other) -> int32_t {
        const uint64_t key = EndKey(kind, p);
        auto it = byEnd.find(key);
        if (it == byEnd.end()) return -1;
        size_t& f = front[key];
        while (f < it->second.size() && groups[size_t(it->second[f])].used) ++f;
        if (f == it->second.size()) return -1;
        const int32_t g = it->second[f];
        const Group& gr = groups[size_t(g)];
        if (k[size_t(gr.s)] == p) {
            pos = gr.s;
            other = gr.e;
        } else {
            pos = gr.e;
            other = gr.s;
        }
        return g;
    };
    // Writes the points after pos up to other (included) of every group that
    // joins in a row, starting at the point of pos.
    auto extend = [&](int16_t kind, int32_t pos, std::vector<Rec>& out) {
        for (;;) {
            int32_t at = 0, other = 0;
            const int32_t g = findJoining(kind, k[size_t(pos)], at, other);
            if (g < 0) return;
            groups[size_t(g)].used = true;
            if (at < other)
                for (int32_t i = at + 1; i <= other; ++i) out.push_back(k[size_t(i)]);
            else
                for (int32_t i = at - 1; i >= other; --i) out.push_back(k[size_t(i)]);
            pos = other;
        }
    };

    std::vector<Rec> out;
    std::vector<Rec> back;
    for (Group& g : groups) {
        if (g.used) continue;
        g.used = true;
        out.push_back(Rec{0, g.kind});
        back.clear();
        for (int32_t i = g.e; i >= g.s; --i) back.push_back(k[size_t(i)]);
        extend(g.kind, g.s, back);
        out.insert(out.end(), back.rbegin(), back.rend());
        extend(g.kind, g.e, out);
    }
    return out;
}

}  // namespace compose
