// Walking an outline: one record at a time along a chain, and at a node (a
// lime pixel) or a chain end the branch that turns furthest to the right.
#include <QString>
#include <utility>

#include "compose/OutlineTracer.h"

namespace compose {

QString FailureText(Outcome o, const QString& name) {
    switch (o) {
        case Outcome::NoStart:
            return QStringLiteral("(赤の)領域「") + name +
                   QStringLiteral("」の開始点がみつけられませんでした。");
        case Outcome::NoDirection:
            return QStringLiteral("開始点(赤)で方向がわかりません");
        case Outcome::Lost:
            return QStringLiteral("あれ,分岐点（赤の点）で道に迷いました。");
        case Outcome::NotClosed:
            return QStringLiteral("赤の区域(") + name + QStringLiteral(")は閉じていません。");
        case Outcome::StepLimit:
            return QStringLiteral(
                "無限ループに入ったみたい。繰り返すようなら作者に連絡してください");
        case Outcome::TooLarge:
            return QStringLiteral(
                "区域の境界線が多すぎて点列に収まりません。境界線最終編成を中止しました。");
        case Outcome::Astray:
            return QStringLiteral("赤の区域(") + name +
                   QStringLiteral(")の境界線をたどれませんでした。");
        case Outcome::Closed:
            break;
    }
    return QString();
}

void OutlineTracer::MarkRed(Pt p) {
    marks.push_back({p.x, p.y, surf_.Pixel(p.x, p.y)});
    surf_.SetPixel(p.x, p.y, Red);
}

std::vector<Branch> OutlineTracer::CollectBranches(int32_t cur, int32_t node) const {
    // Every record holding the node's coordinates, ascending, with both of its
    // chain neighbours; only the record the walk came from is left out. There
    // is no limit on branches: a node where many lines meet is walked too.
    std::vector<Branch> list;
    for (int32_t o : net_.Occurrences(net_.P(node))) {
        if (net_.P(o - 1).x > 0 && o - 1 != cur) list.push_back({o, o - 1, -1});
        if (o + 1 <= net_.Last() && net_.P(o + 1).x > 0 && o + 1 != cur)
            list.push_back({o, o + 1, +1});
    }
    return list;
}

void OutlineTracer::NextOutlineStep(int32_t& cur, int32_t& next, int& dir) {
    const int32_t cand = next + dir;
    const Pt prev = ToPt(net_.P(cur)), node = ToPt(net_.P(next));
    const bool inRange = cand >= 0 && cand <= net_.Last();
    if (surf_.Pixel(node.x, node.y) != Lime && inRange && net_.P(cand).x > 0) {
        cur = next;
        next = cand;
        return;
    }
    const std::vector<Branch> list = CollectBranches(cur, next);
    cur = next;
    next = cand;
    if (list.empty()) return;
    next = list[0].far;
    dir = list[0].dir;
    Pt best = ToPt(net_.P(list[0].far));
    for (size_t j = 1; j < list.size(); ++j) {
        const Pt c = ToPt(net_.P(list[j].far));
        int r = CompareTurns(prev, node, best, c);
        if (r == 0) {
            MarkRed(prev);
            MarkRed(node);
            MarkRed(best);
            MarkRed(c);
            if (onLost) onLost(node);
            dir = 0;
        }
        if (r == 1 && best == prev) r = 2;
        if (r == 2 && c == prev) r = 1;
        if (r == 2) {
            next = list[j].far;
            dir = list[j].dir;
            best = c;
        }
    }
}

Outcome OutlineTracer::Walk(const StartSegment& st, std::vector<Rec>& stream, TraceResult& res) {
    const Rec first = net_.P(st.s), second = net_.P(st.n);
    stream.push_back(first);
    stream.push_back(second);
    Rec current = second, previous = first;
    int32_t cur = st.s, next = st.n;
    int dir = st.d;
    int64_t steps = 0;
    const int64_t limit = 3 * int64_t(net_.Last());
    while (!(current == first) && current.x > 0) {
        NextOutlineStep(cur, next, dir);
        previous = current;
        current = (next >= 0 && next <= net_.Last()) ? net_.P(next) : Rec{};
        stream.push_back(current);
        ++steps;
        if (dir == 0) {
            res.node = ToPt(previous);
            return Outcome::Lost;
        }
        if (steps > limit) return Outcome::StepLimit;
    }
    stream.push_back(Rec{});
    if (current.x <= 0 || previous == second) return Outcome::NotClosed;
    res.points = int32_t(steps) + 2;
    return Outcome::Closed;
}

TraceResult OutlineTracer::TraceOutline(int px, int py, std::vector<Rec>& stream) {
    TraceResult res;
    const QRect region = surf_.FloodFillSurface(px, py, Black, Navy);
    res.start = FindStartSegment(region);
    const StartSegment st = res.start;
    if (st.s == 0) {
        surf_.FloodFillSurface(px, py, Navy, Red);
        res.outcome = Outcome::NoStart;
        return res;
    }
    if (st.d == 0) {
        MarkRed(ToPt(net_.P(st.s)));
        res.outcome = Outcome::NoDirection;
        return res;
    }
    const size_t begin = stream.size();
    const Pt pos{px, py};
    res.outcome = Walk(st, stream, res);
    if (res.outcome == Outcome::Closed && !OnRightOfRing(&stream[begin], size_t(res.points), pos)) {
        // The walk keeps its region on the right, so the position must lie on
        // the right of the closed outline. The side test at the start segment
        // can pick the wrong side where the region is only a few pixels wide;
        // the walk then goes round a neighbour. Walk the other way instead. Its lost-way marks are
        // taken back and not reported if that walk does not give the outline either.
        stream.resize(begin);
        const size_t marked = marks.size();
        std::vector<Pt> lostAt;
        auto report = std::exchange(onLost, [&](Pt node) { lostAt.push_back(node); });
        TraceResult again;
        const Outcome o = Walk(StartSegment{st.n, st.s, -st.d}, stream, again);
        onLost = std::move(report);
        if (o == Outcome::Closed && OnRightOfRing(&stream[begin], size_t(again.points), pos)) {
            res.points = again.points;
            if (onLost)
                for (Pt node : lostAt) onLost(node);
        } else {
            for (size_t i = marks.size(); i > marked; --i)
                surf_.SetPixel(marks[i - 1].x, marks[i - 1].y, marks[i - 1].was);
            marks.resize(marked);
            res.outcome = Outcome::Astray;
        }
    }
    if (res.outcome == Outcome::NotClosed || res.outcome == Outcome::Astray)
        surf_.FloodFillSurface(px, py, Navy, Red);
    else if (res.outcome == Outcome::Closed)
        surf_.FloodFillSurface(px, py, Navy, Black);
    return res;
}

}  // namespace compose
