#include "formats/AreaText.h"

#include "text/TextEntry.h"
#include "base/Messages.h"
#include "text/ShiftJis.h"

namespace areas {

namespace {
constexpr int MaxPositions = 10;

std::string Number(int v) {
    return std::to_string(v);
}
}  // namespace

std::string AreaLine(const Store& st, int a) {
    std::string line(st.AreaName(a));
    bool first = true;
    for (int k = 0; k < MaxPositions; ++k) {
        const Rec p = st.AreaPos(k, a);
        if (p.x == 0) break;
        if (p.x < 1) continue;
        // The separator depends on whether a position was already written, not
        // on the slot number: a skipped slot 0 must not glue the positions to
        // the name.
        line += first ? " = " : "/";
        first = false;
        line += Number(p.x) + "," + Number(p.y);
    }
    return line;
}

QString ListAreaNames(const Store& st) {
    std::string all;
    for (int a = 1; a <= st.AreaCount; ++a) {
        if (a > 1) all += '\n';
        all += AreaLine(st, a);
    }
    return sjis::ToUnicode(all);
}

AreaText ParseAreaNames(const QString& text) {
    return ParseAreaNameBytes(sjis::FromUnicode(text));
}

AreaText ParseAreaNameBytes(std::string_view text) {
    AreaText out;
    size_t at = 0;
    int lineNo = 0;
    while (at < text.size()) {
        const size_t nl = text.find('\n', at);
        std::string line(
            text.substr(at, nl == std::string_view::npos ? std::string_view::npos : nl - at));
        at = nl == std::string_view::npos ? text.size() : nl + 1;
        ++lineNo;
        // An empty line separates nothing and is no area.
        if (line.empty() || line == "\r") continue;
        while (!line.empty() && static_cast<unsigned char>(line.back()) < 32) line.pop_back();

        AreaEntry e;
        std::string name, rest;
        SplitAt('=', line, name, rest);
        TrimEntry(name);
        const std::string_view cut = sjis::CutToBytes(name, Store::NameBytes);
        if (cut.size() != name.size()) out.cutLines.push_back(lineNo);
        e.name.assign(cut);

        while (!rest.empty()) {
            std::string item, xs, ys;
            SplitAt('/', rest, item, rest);
            const bool hasComma = item.find(',') != std::string::npos;
            SplitAt(',', item, xs, ys);
            const auto x = ParseStrictInt16(xs);
            const auto y = ParseStrictInt16(ys);
            if (!hasComma || !x || !y) {
                out.error =
                    msg::Text(Msg::AreaLinePositionBad).arg(lineNo).arg(sjis::ToUnicode(item));
                out.areas.clear();
                return out;
            }
            // Places outside the map are dropped quietly, as are positions
            // beyond the tenth.
            if (*x >= 1 && *y >= 1 && int(e.pos.size()) < MaxPositions) e.pos.push_back({*x, *y});
        }
        out.areas.push_back(std::move(e));
    }
    // Unnamed areas at the end are dropped; those between named ones stay. A
    // lone CR before an equals sign ("\r=5,5") counts as no name too.
    while (!out.areas.empty() && (out.areas.back().name.empty() || out.areas.back().name == "\r"))
        out.areas.pop_back();
    if (int(out.areas.size()) > Store::MaxAreas) {
        out.error = msg::Text(Msg::TooManyAreas).arg(out.areas.size()).arg(Store::MaxAreas);
        out.areas.clear();
    }
    return out;
}

void StoreAreas(Store& st, const std::vector<AreaEntry>& list) {
    const int n = int(std::min<size_t>(list.size(), size_t(Store::MaxAreas)));
    for (int i = 0; i < n; ++i) {
        const AreaEntry& e = list[size_t(i)];
        st.SetAreaName(i + 1, e.name);
        int s = 0;
        for (const Rec& p : e.pos) {
            if (s >= MaxPositions) break;
            st.AreaPos(s++, i + 1) = p;
        }
        st.AreaPos(s, i + 1) = Rec{0, 0};
    }
    if (n + 1 <= Store::MaxAreas) st.SetAreaName(n + 1, {});
    st.AreaCount = int16_t(n);
}

QString LineList(const std::vector<int>& lines) {
    QStringList parts;
    for (size_t i = 0; i < lines.size() && i < 10; ++i) parts << QString::number(lines[i]);
    QString s = parts.join(QStringLiteral(", "));
    if (lines.size() > 10) s += msg::Text(Msg::AndOthers);
    return s;
}

}  // namespace areas
