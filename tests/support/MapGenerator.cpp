#include "support/MapGenerator.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "formats/WorkFormat.h"
#include "support/FakeUi.h"
#include "text/ShiftJis.h"

namespace {

using Poly = std::vector<Rec>;

struct Lattice {
    int C = 0, R = 0;  // columns 0..C, row lines 0..R
    std::vector<Rec> v;
    Rec& at(int c, int j) { return v[size_t(j) * size_t(C + 1) + size_t(c)]; }
};

// Points from a to b about `step` apart, each nudged at most one pixel off the
// straight line; a and b included, no two consecutive points equal.
Poly Wiggle(Rec a, Rec b, int step, std::mt19937& rng) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    const int n = std::max(1, int(std::lround(len / step)));
    std::uniform_int_distribution<int> nudge(-1, 1);
    Poly p{a};
    for (int k = 1; k < n; ++k) {
        const double t = double(k) / n;
        Rec r{int16_t(std::lround(a.x + dx * t)), int16_t(std::lround(a.y + dy * t))};
        if (std::abs(dx) >= std::abs(dy))
            r.y = int16_t(r.y + nudge(rng));
        else
            r.x = int16_t(r.x + nudge(rng));
        if (!(r == p.back()) && !(r == b)) p.push_back(r);
    }
    p.push_back(b);
    return p;
}

void Append(Poly& chain, const Poly& piece) {
    chain.insert(chain.end(), chain.empty() ? piece.begin() : piece.begin() + 1, piece.end());
}

}  // namespace

GeneratedMap GenerateMap(const MapRecipe& recipe, Store& st) {
    std::mt19937 rng(recipe.seed);
    GeneratedMap g;
    const int margin = 8;
    // About square: C/2 cells per row, R rows.
    Lattice L;
    const double perRow = std::sqrt(double(recipe.cells) * recipe.unitH / (2.0 * recipe.unitW));
    L.C = std::max(2, 2 * int(std::ceil(perRow)));
    L.R = std::max(1, int(std::ceil(double(recipe.cells) / (L.C / 2))));
    L.v.resize(size_t(L.C + 1) * size_t(L.R + 1));
    std::uniform_int_distribution<int> jit(-recipe.jitter, recipe.jitter);
    for (int j = 0; j <= L.R; ++j)
        for (int c = 0; c <= L.C; ++c) {
            int x = margin + c * recipe.unitW, y = margin + j * recipe.unitH;
            if (c > 0 && c < L.C) x += jit(rng);
            if (j > 0 && j < L.R) y += jit(rng);
            L.at(c, j) = Rec{int16_t(x), int16_t(y)};
        }
    g.width = margin * 2 + L.C * recipe.unitW + 1;
    g.height = margin * 2 + L.R * recipe.unitH + 1;

    // Row lines: each edge's polyline, then runs of 1..4 edges as chains.
    std::vector<Poly> chains;
    std::vector<std::vector<Poly>> rowEdges(size_t(L.R) + 1);
    for (int j = 0; j <= L.R; ++j)
        for (int c = 0; c < L.C; ++c)
            rowEdges[size_t(j)].push_back(Wiggle(L.at(c, j), L.at(c + 1, j), recipe.step, rng));
    std::uniform_int_distribution<int> runLen(1, 4), coin(0, 1);
    for (int j = 0; j <= L.R; ++j)
        for (int c = 0; c < L.C;) {
            const int n = std::min(runLen(rng), L.C - c);
            Poly chain;
            for (int k = 0; k < n; ++k) Append(chain, rowEdges[size_t(j)][size_t(c + k)]);
            if (coin(rng)) std::reverse(chain.begin(), chain.end());
            chains.push_back(std::move(chain));
            c += n;
        }
    // Walls between row lines j and j+1.
    auto isWall = [&](int c, int j) { return c == 0 || c == L.C || c % 2 == j % 2; };
    for (int j = 0; j < L.R; ++j)
        for (int c = 0; c <= L.C; ++c)
            if (isWall(c, j)) {
                Poly w = Wiggle(L.at(c, j), L.at(c, j + 1), recipe.step, rng);
                if (coin(rng)) std::reverse(w.begin(), w.end());
                chains.push_back(std::move(w));
            }
    std::shuffle(chains.begin(), chains.end(), rng);

    // Cells, row by row, with their centres.
    struct Cell {
        Rec centre;
        int j, c0, c1;
    };
    std::vector<Cell> cells;
    for (int j = 0; j < L.R; ++j) {
        int c0 = 0;
        for (int c = 1; c <= L.C; ++c) {
            if (!isWall(c, j)) continue;
            const Rec a = L.at(c0, j), b = L.at(c, j), d = L.at(c0, j + 1), e = L.at(c, j + 1);
            cells.push_back(
                {Rec{int16_t((a.x + b.x + d.x + e.x) / 4), int16_t((a.y + b.y + d.y + e.y) / 4)}, j,
                 c0, c});
            c0 = c;
        }
    }
    g.cells = int(cells.size());

    int damagedCell = -1;
    // Damage: a gap in the middle of a row edge between two rows of cells, or
    // a second copy of one of its segments as a chain of its own.
    if (recipe.damage != MapRecipe::None && L.R >= 2) {
        const int j = L.R / 2, c = L.C / 2;
        const Poly& edge = rowEdges[size_t(j)][size_t(c)];
        const size_t mid = edge.size() / 2;
        if (recipe.damage == MapRecipe::DuplicateSegment) {
            chains.push_back(Poly{edge[mid - 1], edge[mid]});
        } else {
            // Find the chain holding that segment and cut it out.
            for (size_t k = 0; k < chains.size(); ++k) {
                Poly& ch = chains[k];
                for (size_t i = 0; i + 1 < ch.size(); ++i) {
                    const bool fwd = ch[i] == edge[mid - 1] && ch[i + 1] == edge[mid];
                    const bool bwd = ch[i] == edge[mid] && ch[i + 1] == edge[mid - 1];
                    if (!fwd && !bwd) continue;
                    Poly tail(ch.begin() + ptrdiff_t(i) + 1, ch.end());
                    ch.resize(i + 1);
                    chains.push_back(std::move(tail));
                    k = chains.size();
                    break;
                }
            }
        }
        for (size_t k = 0; k < cells.size(); ++k)
            if (cells[k].j == j && cells[k].c0 <= c && c < cells[k].c1) damagedCell = int(k);
    }

    // Point list.
    st.PointLast = 0;
    st.SetPoint(0, 0, 0);
    for (const Poly& ch : chains) {
        if (ch.size() < 2) continue;
        for (Rec r : ch) st.AppendPoint(r.x, r.y);
        st.AppendPoint(0, 0);
    }

    // Areas: runs of 1..cellsPerArea cells, one position per cell. Area
    // numbers follow the cells unless areas hold several cells.
    std::uniform_int_distribution<int> perArea(1, std::max(1, recipe.cellsPerArea));
    int a = 0;
    for (size_t k = 0; k < cells.size() && a < Store::MaxAreas;) {
        ++a;
        const int n = std::min<int>({perArea(rng), int(cells.size() - k), 10});
        int slot = 0;
        for (int i = 0; i < n; ++i) st.AreaPos(slot++, a) = cells[k + size_t(i)].centre;
        if (recipe.extraPositionEvery > 0 && a % recipe.extraPositionEvery == 0 && slot < 10) {
            const Rec c = cells[k].centre;
            st.AreaPos(slot++, a) = Rec{int16_t(c.x + 2), int16_t(c.y + 1)};
        }
        for (int s = slot; s < Store::Slots; ++s) st.AreaPos(s, a) = Rec{};
        g.positions += slot;
        st.SetAreaName(a, sjis::FromUnicode(QStringLiteral("区域%1").arg(a)));
        if (damagedCell >= int(k) && damagedCell < int(k) + n) g.damagedArea = a;
        k += size_t(n);
    }
    st.AreaCount = int16_t(a);
    g.areas = a;

    // Line kinds: stretches of every fourth inner row line, in shuffled pieces
    // of one to three edges, some reversed; an empty group now and then.
    std::vector<Poly> groups;
    std::vector<int16_t> groupKind;
    if (recipe.kinds) {
        std::uniform_int_distribution<int> pieceLen(1, 3);
        for (int j = 1; j < L.R; j += 4) {
            const int16_t kind = (j / 4) % 2 ? KindDivision : KindSecondBoundary;
            for (int c = 0; c < L.C;) {
                const int n = std::min(pieceLen(rng), L.C - c);
                Poly piece;
                for (int k = 0; k < n; ++k) Append(piece, rowEdges[size_t(j)][size_t(c + k)]);
                if (coin(rng)) std::reverse(piece.begin(), piece.end());
                groups.push_back(std::move(piece));
                groupKind.push_back(kind);
                c += n;
            }
        }
        std::vector<size_t> order(groups.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), rng);
        st.KindLast = -1;
        for (size_t i : order) {
            st.SetKind(++st.KindLast, 0, groupKind[i]);
            if (i % 7 == 3) st.SetKind(++st.KindLast, 0, groupKind[i]);  // a header without points
            for (Rec r : groups[i]) st.SetKind(++st.KindLast, r.x, r.y);
        }
    } else {
        st.KindLast = -1;
    }
    st.MapWidth = int16_t(g.width);
    st.MapHeight = int16_t(g.height);
    st.LegendX = st.LegendY = 10;  // a legend box, so the map can be written as is
    st.Completed = st.Composed = false;
    return g;
}

bool WriteWorkFileFor(const Store& st, const QString& path, QString* error) {
    QString why;
    const bool ok = WriteWorkFile(path, st, "0", &why);
    if (!ok && error) *error = why;
    return ok;
}

GeneratedMap GenerateMap(const MapRecipe& recipe, Editor& ed) {
    GeneratedMap g;
    EditMap(ed, [&](Store& st) { g = GenerateMap(recipe, st); });
    return g;
}
