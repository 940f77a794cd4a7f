// Helpers for the composition tests: chains of a point list, cyclic
// comparison of outlines, and small hand-made maps.
#pragma once

#include <algorithm>
#include <vector>

#include "compose/Geometry.h"
#include "store/Store.h"
#include "text/ShiftJis.h"

namespace ctest {

using Chain = std::vector<Rec>;

inline std::vector<Chain> Chains(const std::vector<Rec>& v) {
    std::vector<Chain> out;
    Chain cur;
    for (Rec r : v) {
        if (r.x == 0) {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(r);
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

// Whether closed chain a is ring b (first point repeated at the end) from any
// start point, in the same direction.
inline bool SameCycle(const Chain& a, const Chain& b) {
    if (a.size() != b.size() || a.size() < 2 || !(a.front() == a.back()) ||
        !(b.front() == b.back()))
        return false;
    const size_t n = a.size() - 1;
    for (size_t off = 0; off < n; ++off) {
        bool same = true;
        for (size_t i = 0; i < n && same; ++i) same = a[i] == b[(i + off) % n];
        if (same) return true;
    }
    return false;
}

inline void AddChain(Store& st, std::initializer_list<std::pair<int, int>> pts) {
    for (auto [x, y] : pts) st.AppendPoint(int16_t(x), int16_t(y));
    st.AppendPoint(0, 0);
}

inline void AddArea(Store& st, const char* name, std::initializer_list<std::pair<int, int>> pos) {
    const int a = ++st.AreaCount;
    st.SetAreaName(a, sjis::FromUnicode(QString::fromUtf8(name)));
    int k = 0;
    for (auto [x, y] : pos) st.AreaPos(k++, a) = Rec{int16_t(x), int16_t(y)};
    for (; k < Store::Slots; ++k) st.AreaPos(k, a) = Rec{};
}

// Two rooms side by side: an outer ring and one shared wall.
inline void TwoRooms(Store& st) {
    AddChain(st, {{10, 10}, {60, 10}, {110, 10}, {110, 60}, {60, 60}, {10, 60}, {10, 10}});
    AddChain(st, {{60, 10}, {60, 35}, {60, 60}});
}
inline const Chain kLeftRoom{{10, 10}, {60, 10}, {60, 35}, {60, 60}, {10, 60}, {10, 10}};
inline const Chain kRightRoom{{60, 10}, {110, 10}, {110, 60}, {60, 60}, {60, 35}, {60, 10}};

}  // namespace ctest
