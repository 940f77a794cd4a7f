// Reading a scanned map's boundaries off the scan: the page is split into
// regions (ink, paper, distance to ink, a flood from the wide places) and
// the cracks between regions become the boundary network. Everything here
// works on plain arrays and a QImage; nothing knows the editor.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "store/Store.h"

namespace trace {

// Called now and then with the share done (0..100); false cancels.
using Tick = std::function<bool(int)>;

// What one ink-reading of the page holds; the expensive part of a run,
// kept so that a slider change only floods again.
// The bits of Page::ink.
enum InkBits : uint8_t {
    kInk = 1,       // boundary ink
    kColoured = 2,  // ink of another colour than the boundaries'
    kBlob = 4,      // ink in a compact blob of lettering size
    kMargin = 8,    // a dark page margin, ink or not: outside the map
    kWord = 16,     // a blob in a row of blobs like it: a letter of a name
};

struct Page {
    int width = 0, height = 0;
    std::vector<uint8_t> ink;    // InkBits per pixel; nonzero counts as ink
    std::vector<uint16_t> dist;  // distance to the nearest ink, in 1/8 px
    int threshold = 0;           // ink contrast threshold chosen (0..255)
    int paperContrast = 0;       // the paper's median contrast after flattening
    int paperNoise = 0;          // its median deviation: grain, or a photograph's texture
    double darkShare = 0;        // share of the page darker than mid-grey, as scanned
    double inkShare = 0;         // share of the page that is ink
    double colourShare = 0;      // share of paper pixels that are strongly coloured
    int lineWidth = 1;           // typical stroke width, px
    QRgb inkColour = 0;          // mean colour of the ink pixels
    // The parts of the paper too narrow ever to hold a seed (their widest
    // point no farther than kMaxGap from ink): islands, counters of letters.
    struct Pocket {
        int32_t pixel;  // the widest point
        uint16_t widest;
        int64_t area;
        bool lettering = false;  // inside a letter of a name (its counter)
    };
    std::vector<Pocket> pockets;
    // Regions counted for each gap radius 0..kMaxGap (index = radius), and
    // the radius chosen where the count levels off.
    std::vector<int> regionsByGap;
    int autoGap = 0;
    int autoMinArea = 0;
    bool cancelled = false;
};

constexpr int kMaxGap = 30;

struct InkOptions {
    std::optional<QRgb> ink;  // a sampled boundary colour; none: dark ink
    Tick tick;
};

// Reads the ink of `scan`; the page is empty (width 0) when cancelled.
Page ReadPage(const QImage& scan, const InkOptions& options = {});

// Doubts about a traced edge, for the review list.
enum Doubt : uint8_t {
    Bridged = 1,      // little ink along it: a gap was closed
    OtherInk = 2,     // the ink under it is of another colour
    Lettering = 4,    // it runs through small blobs of ink (names)
    SmallRegion = 8,  // it borders a tiny or thin region
};

struct Edge {
    std::vector<QPoint> points;  // node to node (a closed ring repeats its first point)
    int left = 0, right = 0;     // the regions on either side (1-based)
    double inkShare = 1;         // share of its length on ink
    uint8_t doubts = 0;
};

struct Region {
    int area = 0;          // pixels
    QPoint pole;           // the point farthest from ink inside it
    bool enclosed = true;  // false: it reaches the page edge
};

struct SplitOptions {
    int gap = -1;           // gap radius, px; < 0: chosen automatically
    int minArea = -1;       // smallest region, px; < 0: chosen automatically
    double simplify = 1.0;  // Douglas-Peucker tolerance, px (0: none)
    Tick tick;
};

struct Network {
    int gap = 0, minArea = 0;
    std::vector<Region> regions;  // region r is regions[r - 1]
    std::vector<Edge> edges;
    std::vector<int32_t> labels;  // per pixel, 1-based region (kept when asked)
    bool cancelled = false;
};

// Splits the page into regions and traces the edges between them.
Network Split(const Page& page, const SplitOptions& options = {}, bool keepLabels = false);

// The network as the store's point list: (0,0), then each chain followed
// by (0,0).
std::vector<Rec> PointList(const Network& net);

// Per region (0-based), its number among the enclosed regions counted in
// order of their poles (top to bottom, left to right); 0 for a region that
// reaches the page edge.
std::vector<int> EnclosedOrder(const Network& net);

}  // namespace trace
