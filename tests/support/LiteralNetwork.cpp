#include "support/LiteralNetwork.h"

#include <string>

namespace literal {

void TidyPointList(Store& s) {
    // Lone points, from the top down.
    int32_t i = s.PointLast;
    while (i >= 2) {
        if (s.PointX(i) == 0 && s.PointX(i - 2) == 0) {
            s.DeletePoints(i - 1, 2);
            i -= 1;
        }
        i -= 1;
    }
    // Repeats.
    for (i = s.PointLast; i >= 1; --i) {
        if (s.PointX(i) == s.PointX(i - 1) && s.PointY(i) == s.PointY(i - 1)) s.DeletePoints(i, 1);
    }
}

void RemoveRepeatedSegments(Store& s) {
    const int32_t n = s.PointLast;
    // The scratch file, as decimal text lines.
    std::vector<std::string> file;
    for (int32_t i = 0; i <= n; ++i) {
        file.push_back(std::to_string(s.PointX(i)));
        file.push_back(std::to_string(s.PointY(i)));
        file.push_back("-9");
        file.push_back("-9");
    }
    size_t at = 0;
    auto next = [&] { return int16_t(std::stoi(file[at++])); };
    for (int32_t i = 0; i <= n; ++i) {
        const int16_t x = next(), y = next(), tx = next(), ty = next();
        s.SetPoint(2 * i, x, y);
        s.SetPoint(2 * i + 1, tx, ty);
    }
    auto pt = [&](int32_t i) { return s.Point(2 * i); };
    auto marked = [&](int32_t i) { return s.PointX(2 * i + 1) == -99; };
    auto mark = [&](int32_t i) { s.SetPoint(2 * i + 1, -99, -99); };

    for (int32_t i = 0; i <= n - 2; ++i) {
        const Rec p = pt(i), q = pt(i + 1);
        if (p.x == 0 || q.x == 0) continue;
        for (int32_t m = i + 1; m < n; ++m) {
            const Rec a = pt(m), b = pt(m + 1);
            if ((a == p && b == q) || (a == q && b == p)) {
                mark(i);
                break;
            }
        }
    }
    for (int32_t i = 0; i <= n - 2; ++i) {
        if (!marked(i) && marked(i + 1) && pt(i).x == 0) mark(i);
        if (marked(i) && !marked(i + 1) && pt(i + 2).x == 0) mark(i + 1);
    }

    file.clear();
    auto write = [&](Rec r) {
        file.push_back(std::to_string(r.x));
        file.push_back(std::to_string(r.y));
    };
    write(pt(0));
    int16_t lastX = pt(0).x;
    bool prevTag = marked(0);
    for (int32_t i = 1; i <= n; ++i) {
        const Rec r = pt(i);
        const bool t = marked(i);
        if ((r.x == 0 && lastX > 0) || !prevTag || !t) {
            write(r);
            lastX = r.x;
            if (t && r.x > 0) {
                write(Rec{0, 0});
                lastX = 0;
            }
        }
        prevTag = t;
    }

    at = 0;
    s.PointLast = -1;
    while (at < file.size()) {
        s.PointLast += 1;
        const int16_t x = next(), y = next();
        s.SetPoint(s.PointLast, x, y);
    }
    s.Completed = false;
    s.Composed = false;
    TidyPointList(s);
}

}  // namespace literal
