#include "usecases/Trace.h"

#include <QColor>
#include <QFileInfo>
#include <algorithm>
#include <unordered_set>

#include "compose/OutlineTracer.h"
#include "raster/Picture.h"
#include "raster/RegionLabels.h"
#include "raster/BitmapFile.h"
#include "raster/Surface.h"
#include "text/ShiftJis.h"

namespace usecase {

namespace {

QString Percent(double share) {
    return QString::number(100.0 * share, 'f', share < 0.1 ? 1 : 0);
}

Result Refused(Msg id, QStringList args) {
    return {false, Say(id, std::move(args), Msg::CapAutoTrace, MsgIcon::Warning), {}};
}

}  // namespace

TraceOutcome TraceScan(const QImage& scan, const QString& name, const TraceSettings& settings,
                       trace::Page* kept) {
    TraceOutcome out;
    trace::Page local;
    trace::Page& page = kept ? *kept : local;
    // The ink takes most of the time: the first 60% of the bar, the split the rest.
    if (page.width == 0) {
        trace::InkOptions ink{settings.ink, {}};
        if (settings.tick) ink.tick = [&](int p) { return settings.tick(p * 6 / 10); };
        page = trace::ReadPage(scan, ink);
        if (page.width == 0) {
            out.cancelled = true;
            return out;
        }
    }
    out.threshold = page.threshold;
    out.lineWidth = page.lineWidth;
    out.inkShare = page.inkShare;
    // What is on the page decides whether there is anything to trace.
    const double ink = std::max(page.inkShare, page.darkShare);
    if (ink > 0.5) {
        out.result = Refused(Msg::TraceMostlyInk, {name, Percent(ink)});
        return out;
    }
    if (page.inkShare > 0.25 || page.paperNoise > 12) {
        out.result = Refused(Msg::TraceNotLineDrawing,
                             {name, Percent(page.inkShare), QString::number(page.paperNoise)});
        return out;
    }
    if (page.inkShare < 0.0002) {
        if (page.colourShare > 0.15)
            out.result = Refused(Msg::TraceColourWash, {name, Percent(page.colourShare)});
        else
            out.result = Refused(Msg::TraceNoInk, {name});
        return out;
    }
    trace::SplitOptions split{settings.gap, settings.minArea, settings.simplify, {}};
    if (settings.tick) split.tick = [&](int p) { return settings.tick(60 + p * 4 / 10); };
    out.net = trace::Split(page, split);
    if (out.net.cancelled) {
        out.cancelled = true;
        return out;
    }
    for (const trace::Region& r : out.net.regions) out.enclosed += r.enclosed;
    if (out.enclosed == 0) {
        out.result =
            page.colourShare > 0.15
                ? Refused(Msg::TraceColourWash, {name, Percent(page.colourShare)})
                : Refused(Msg::TraceNoRegions, {name, QString::number(out.net.regions.size())});
        return out;
    }
    out.chains = int(out.net.edges.size());
    for (size_t e = 0; e < out.net.edges.size(); ++e) {
        const trace::Edge& edge = out.net.edges[e];
        out.points += int(edge.points.size());
        if (edge.doubts)
            out.doubts.push_back({int(e), edge.doubts, edge.points[edge.points.size() / 2]});
    }
    out.result.ok = true;
    return out;
}

QString DoubtText(uint8_t doubts) {
    QStringList parts;
    if (doubts & trace::Bridged) parts << msg::Text(Msg::TraceDoubtBridged);
    if (doubts & trace::OtherInk) parts << msg::Text(Msg::TraceDoubtOtherInk);
    if (doubts & trace::Lettering) parts << msg::Text(Msg::TraceDoubtLettering);
    if (doubts & trace::SmallRegion) parts << msg::Text(Msg::TraceDoubtSmall);
    return parts.join(QStringLiteral("、"));
}

Result AddTracedNetwork(Store& st, const trace::Network& net, bool positions) {
    std::vector<Rec> v = st.PointsToVector();
    if (v.empty()) v.push_back(Rec{});
    if (!(v.back() == Rec{})) v.push_back(Rec{});
    const std::vector<Rec> traced = trace::PointList(net);
    v.insert(v.end(), traced.begin() + 1, traced.end());
    if (!st.AssignPoints(v))
        return {false,
                Say(Msg::PointListFull, {QString::number(Store::Capacity)}, Msg::CapAutoTrace,
                    MsgIcon::Warning),
                {}};
    Result r{true, {}, {}};
    if (!positions) return r;
    const std::vector<int> number = trace::EnclosedOrder(net);
    std::vector<int> byNumber(net.regions.size() + 1, -1);
    int enclosed = 0;
    for (size_t k = 0; k < number.size(); ++k)
        if (number[k]) byNumber[number[k]] = int(k), ++enclosed;
    int placed = 0;
    for (int n = 1; n <= enclosed && st.AreaCount < Store::MaxAreas; ++n, ++placed) {
        const QPoint p = net.regions[byNumber[n]].pole;
        const int a = ++st.AreaCount;
        st.SetAreaName(a, sjis::FromUnicode(QString::number(n)));
        st.AreaPos(0, a) = Rec{int16_t(std::max(1, p.x())), int16_t(p.y())};
        for (int k = 1; k < Store::Slots; ++k) st.AreaPos(k, a) = Rec{};
    }
    if (placed < enclosed)
        r.message =
            Say(Msg::TraceTooManyAreas, {QString::number(enclosed), QString::number(placed)},
                Msg::CapAutoTrace, MsgIcon::Information);
    return r;
}

std::vector<ProvisionalArea> ProvisionalAreas(const Store& st, int first) {
    std::vector<ProvisionalArea> out;
    for (int a = std::max(1, first); a <= st.AreaCount; ++a)
        out.push_back({std::string(st.AreaName(a)), st.AreaPos(0, a)});
    return out;
}

std::vector<ProvisionalArea> NumberedAreas(const Store& st) {
    std::vector<ProvisionalArea> out;
    for (int a = 1; a <= st.AreaCount; ++a) {
        const std::string_view name = st.AreaName(a);
        if (name.empty() || st.AreaPos(0, a).x == 0 || st.AreaPos(1, a).x != 0) continue;
        if (std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            out.push_back({std::string(name), st.AreaPos(0, a)});
    }
    return out;
}

std::vector<int> SharedProvisionalAreas(const Store& st, const std::vector<ProvisionalArea>& placed) {
    std::vector<int> drop;
    if (placed.empty() || st.AreaCount == 0) return drop;
    auto provisional = [&](int a) {
        if (st.AreaPos(1, a).x != 0) return false;
        const Rec at = st.AreaPos(0, a);
        for (const ProvisionalArea& p : placed)
            if (p.at == at && p.name == st.AreaName(a)) return true;
        return false;
    };
    bool any = false;
    for (int a = 1; a <= st.AreaCount && !any; ++a) any = provisional(a);
    if (!any) return drop;
    // The regions between the lines, as the composition sees them.
    const std::vector<Rec> points = st.PointsToVector();
    int w = st.MapWidth, h = st.MapHeight;
    for (const Rec& r : points) w = std::max<int>(w, r.x), h = std::max<int>(h, r.y);
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k)
            w = std::max<int>(w, st.AreaPos(k, a).x), h = std::max<int>(h, st.AreaPos(k, a).y);
    RegionLabels labels;
    labels.Build(compose::CoverOfNetwork(points, w + 2, h + 2));
    std::unordered_set<int> personal, taken;
    for (int a = 1; a <= st.AreaCount; ++a) {
        if (provisional(a)) continue;
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k)
            personal.insert(labels.RegionAt(st.AreaPos(k, a).x, st.AreaPos(k, a).y));
    }
    for (int a = 1; a <= st.AreaCount; ++a) {
        if (!provisional(a)) continue;
        const int region = labels.RegionAt(st.AreaPos(0, a).x, st.AreaPos(0, a).y);
        if (region < 0) continue;  // on a line: nothing to tell
        if (personal.count(region) || !taken.insert(region).second) drop.push_back(a);
    }
    return drop;
}

bool StoreTracedPicture(QImage scan, const QString& file, QString* error) {
    InvertPicture(scan, nullptr);
    Surface reduced;
    if (!reduced.Resize(scan.width(), scan.height())) {
        *error = msg::Text(Msg::PictureMemory).arg(scan.width()).arg(scan.height());
        return false;
    }
    reduced.DrawImage(scan, 0, 0);
    return WriteSurfaceBitmap(reduced, file, error);
}

bool IsStoredPicture(QImage scan, const Surface& pixels) {
    if (scan.isNull() || scan.width() != pixels.Width() || scan.height() != pixels.Height())
        return false;
    InvertPicture(scan, nullptr);
    Surface reduced;
    if (!reduced.Resize(scan.width(), scan.height())) return false;
    reduced.DrawImage(scan, 0, 0);
    return std::equal(reduced.Data(), reduced.Data() + size_t(scan.width()) * scan.height(),
                      pixels.Data());
}

QRgb TraceSession::SampleAt(QPoint p) const {
    QRgb best = qRgb(255, 255, 255);
    int darkest = 256 * 3;
    for (int y = p.y() - 2; y <= p.y() + 2; ++y)
        for (int x = p.x() - 2; x <= p.x() + 2; ++x) {
            if (!scan_.valid(x, y)) continue;
            const QRgb c = scan_.pixel(x, y);
            const int sum = qRed(c) + qGreen(c) + qBlue(c);
            if (sum < darkest) darkest = sum, best = c;
        }
    return best;
}

trace::Page& TraceSession::PageFor(const TraceChoice& choice) {
    const std::optional<QRgb> ink =
        choice.sample ? std::optional<QRgb>(SampleAt(*choice.sample)) : std::nullopt;
    if (page_.width == 0 || ink != pageInk_) {
        page_ = trace::Page{};
        pageInk_ = ink;
    }
    return page_;
}

QImage TraceSession::Preview(const TraceChoice& choice, int* regions, int* gap, int* minArea) {
    trace::Page& page = PageFor(choice);
    if (page.width == 0) page = trace::ReadPage(scan_, {pageInk_, {}});
    trace::SplitOptions o{choice.gap, choice.minArea, 0, {}};
    const trace::Network net = trace::Split(page, o, true);
    *regions = 0;
    for (const trace::Region& r : net.regions) *regions += r.enclosed;
    *gap = net.gap;
    *minArea = net.minArea;
    QImage out(page.width, page.height, QImage::Format_RGB32);
    std::vector<QRgb> colour(net.regions.size() + 1);
    for (size_t r = 1; r < colour.size(); ++r)
        colour[r] = net.regions[r - 1].enclosed ? QColor::fromHsv(int(r * 137 % 360), 70, 250).rgb()
                                                : qRgb(235, 235, 235);
    for (int y = 0; y < page.height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < page.width; ++x) {
            const size_t i = size_t(y) * page.width + x;
            row[x] = page.ink[i] ? qRgb(40, 40, 40) : colour[size_t(net.labels[i])];
        }
    }
    return out;
}

TraceOutcome TraceSession::Run(const TraceChoice& choice, const trace::Tick& tick) {
    TraceSettings s;
    s.gap = choice.gap;
    s.minArea = choice.minArea;
    s.ink = choice.sample ? std::optional<QRgb>(SampleAt(*choice.sample)) : std::nullopt;
    s.tick = tick;
    return TraceScan(scan_, name_, s, &PageFor(choice));
}

}  // namespace usecase
