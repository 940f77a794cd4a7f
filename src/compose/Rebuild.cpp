#include "compose/Rebuild.h"

#include <algorithm>

#include "compose/NetworkIndex.h"

namespace compose {
namespace {

uint64_t SegmentKey(Rec a, Rec b) {
    const uint32_t p = NetworkIndex::Key(a), q = NetworkIndex::Key(b);
    return (uint64_t(std::min(p, q)) << 32) | std::max(p, q);
}

// The undirected segments the list holds more than once. A composed list
// normally holds each once, and then a walked segment is the only one a cut
// can match.
class RepeatedSegments {
  public:
    RepeatedSegments() = default;
    explicit RepeatedSegments(const NetworkIndex& net) {
        // Two segments with the same ends hold one of them in two records
        // (the other too, unless they follow each other), so only segments
        // with an end at a shared point can be repeated: few in a network,
        // where most points lie inside a chain.
        const Rec zero = net.P(0);
        auto shared = [&](int32_t i) {
            return i == 0 || net.OccurrencesOf(i).size() > 1 || net.P(i) == zero;
        };
        std::vector<int32_t> maybe;
        for (int32_t i = 0; i < net.Last(); ++i) {
            const Rec a = net.P(i), b = net.P(i + 1);
            if (a.x == 0 || b.x == 0) continue;
            if (shared(i) || shared(i + 1)) maybe.push_back(i);
        }
        size_t cap = 16;
        while (cap < 2 * maybe.size()) cap <<= 1;
        seen_.assign(cap, 0);
        for (int32_t i : maybe) {
            const uint64_t key = SegmentKey(net.P(i), net.P(i + 1));
            if (!Insert(seen_, key)) repeated_.push_back(key);
        }
        std::sort(repeated_.begin(), repeated_.end());
    }
    bool Any() const { return !repeated_.empty(); }
    bool Contains(uint64_t key) const {
        return std::binary_search(repeated_.begin(), repeated_.end(), key);
    }

  private:
    // Open addressing; a key is never 0 (both ends have X != 0). False when
    // the key was there already.
    static bool Insert(std::vector<uint64_t>& t, uint64_t key) {
        const size_t mask = t.size() - 1;
        for (size_t h = size_t((key * 0x9E3779B97F4A7C15ull) >> 20) & mask;; h = (h + 1) & mask) {
            if (t[h] == key) return false;
            if (t[h] == 0) {
                t[h] = key;
                return true;
            }
        }
    }
    std::vector<uint64_t> seen_, repeated_;
};

}  // namespace

std::vector<Rec> CutTracedSegments(const NetworkIndex& net, const std::vector<Rec>& stream,
                                   const std::function<void()>& tick) {
    return CutTracedSegments(net, stream, {}, tick);
}

std::vector<Rec> CutTracedSegments(const NetworkIndex& net, const std::vector<Rec>& stream,
                                   const std::vector<int32_t>& walked,
                                   const std::function<void()>& tick) {
    // Cuts never join records, so the only segments that can match are those
    // of the list as it stands now, and each starts or ends at a record
    // holding the pair's first point: the coordinate index finds them. A cut
    // in the middle of a chain becomes a separator after the segment's first
    // record (sepAfter) instead of an insertion that shifts the list.
    std::vector<Rec> rec(net.Points());
    const int32_t n = int32_t(rec.size());
    std::vector<char> sepAfter(size_t(n), 0);

    auto x = [&](int32_t i) -> int {  // X of the record logically at i's place
        return (i < 0 || i >= n) ? 0 : rec[size_t(i)].x;
    };
    const int32_t every = (n - 1) / 5 + 1;
    std::vector<int32_t> match;
    const bool byWalk = walked.size() == stream.size();
    const RepeatedSegments repeated = byWalk ? RepeatedSegments(net) : RepeatedSegments();
    auto cut = [&](int32_t i) {
        if (sepAfter[size_t(i)] || rec[size_t(i)].x == 0 || rec[size_t(i) + 1].x == 0) return;
        if (i + 1 >= n - 1) return;  // the list's last record is never a segment start
        const int left = (i > 0 && sepAfter[size_t(i) - 1]) ? 0 : x(i - 1);
        const int right = sepAfter[size_t(i) + 1] ? 0 : x(i + 2);
        if (left == 0) rec[size_t(i)] = Rec{};
        if (right == 0) rec[size_t(i) + 1] = Rec{};
        if (left > 0 && right > 0) sepAfter[size_t(i)] = 1;
    };
    int32_t untilTick = every;  // a tick every `every` pairs
    for (size_t k = 1; k < stream.size(); ++k) {
        const Rec P = stream[k - 1], Q = stream[k];
        if (tick && --untilTick == 0) {
            untilTick = every;
            tick();
        }
        if (P.x == 0 || Q.x == 0) continue;
        // The segment the walk went along, when no other holds the same pair.
        const int32_t w = byWalk ? walked[k] : -1;
        if (w >= 0 && w + 1 < n) {
            const Rec a = net.P(w), b = net.P(w + 1);
            if (((a == P && b == Q) || (a == Q && b == P)) &&
                (!repeated.Any() || !repeated.Contains(SegmentKey(P, Q)))) {
                cut(w);
                continue;
            }
        }
        match.clear();
        // Otherwise every segment (i, i+1) of the list joining P and Q, either
        // way round, in ascending order.
        auto consider = [&](int32_t i) {
            if (i < 0 || i + 1 >= n) return;
            const Rec a = net.P(i), b = net.P(i + 1);
            if (a.x != 0 && b.x != 0 && ((a == P && b == Q) || (a == Q && b == P)))
                match.push_back(i);
        };
        if (match.empty()) {
            if (net.P(0) == P) consider(0);  // the coordinate index starts at record 1
            for (int32_t o : net.Occurrences(P)) {
                consider(o - 1);
                consider(o);
            }
        }
        if (match.size() > 1) {
            std::sort(match.begin(), match.end());
            match.erase(std::unique(match.begin(), match.end()), match.end());
        }
        for (const int32_t i : match) cut(i);
    }
    std::vector<Rec> out;
    out.reserve(rec.size() + rec.size() / 8);
    for (int32_t i = 0; i < n; ++i) {
        out.push_back(rec[size_t(i)]);
        if (sepAfter[size_t(i)]) out.push_back(Rec{});
    }
    return out;
}

std::vector<Rec> CutTracedSegments(const std::vector<Rec>& pts, const std::vector<Rec>& stream,
                                   const std::function<void()>& tick) {
    if (pts.empty()) return pts;
    return CutTracedSegments(NetworkIndex(pts), stream, tick);
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
