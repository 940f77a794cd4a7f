// Tracing a scan: its boundaries read into a network ready to compose, and
// (for velmot-cli trace) a work with the scan as its under-drawing. A scan
// that is not a line map is refused with what was found instead.
#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "raster/Surface.h"
#include "store/Store.h"
#include "trace/Trace.h"
#include "usecases/Result.h"

namespace usecase {

struct TraceSettings {
    int gap = -1;      // px; < 0: chosen where the region count levels off
    int minArea = -1;  // px; < 0: chosen from the stroke width
    std::optional<QRgb> ink;
    double simplify = 1.0;
    trace::Tick tick;
};

// One doubtful edge, for the review list.
struct TraceDoubt {
    int edge = 0;  // index into the network's edges
    uint8_t doubts = 0;
    QPoint at;  // the middle of the edge
};

struct TraceOutcome {
    Result result;  // not ok: no line map (the message says what was found) or cancelled
    bool cancelled = false;
    trace::Network net;
    int enclosed = 0, chains = 0, points = 0;
    int threshold = 0, lineWidth = 0;
    double inkShare = 0;
    std::vector<TraceDoubt> doubts;
};

// Traces a page; `name` names it in the messages. The page's ink is read
// only when `page` is empty, so that a slider change floods again only.
TraceOutcome TraceScan(const QImage& scan, const QString& name, const TraceSettings& settings,
                       trace::Page* page = nullptr);

// What the person chose in 自動トレース's dialog.
struct TraceChoice {
    int gap = -1, minArea = -1;    // < 0: automatic
    std::optional<QPoint> sample;  // a click on a boundary of the picture
    bool positions = false;        // one area position per enclosed region
};

// The dialog's side of a trace: the page's ink is read once (again only
// when a new ink is sampled), and each slider change floods again.
class TraceSession {
  public:
    TraceSession(QImage scan, QString name) : scan_(std::move(scan)), name_(std::move(name)) {}
    const QImage& Scan() const { return scan_; }
    // The colour around a click: the darkest of the 5x5 pixels round it.
    QRgb SampleAt(QPoint p) const;
    // The regions the choice would make, each in a colour of its own, the
    // ink dark; `regions`, `gap` and `minArea` say what was used.
    QImage Preview(const TraceChoice& choice, int* regions, int* gap, int* minArea);
    // The trace itself; tick may cancel it.
    TraceOutcome Run(const TraceChoice& choice, const trace::Tick& tick);

  private:
    trace::Page& PageFor(const TraceChoice& choice);
    QImage scan_;
    QString name_;
    trace::Page page_;
    std::optional<QRgb> pageInk_;
};

// The doubts' names, comma separated, as the review list shows them.
QString DoubtText(uint8_t doubts);

// Appends the network's chains to the point list of st, and with positions
// one area per enclosed region at its pole, named by its number (as many as
// the area table holds; the note says when some were left out).
Result AddTracedNetwork(Store& st, const trace::Network& net, bool positions);

// A position a trace put in, named by its region's number: provisional for
// as long as its area keeps that name and that one place.
struct ProvisionalArea {
    std::string name;
    Rec at;
};
// The provisional positions the areas from `first` on of a traced work are.
std::vector<ProvisionalArea> ProvisionalAreas(const Store& st, int first);
// The areas named by a number alone with one position, as a trace names them
// (a traced work opened again, or traced by velmot-cli): maybe provisional.
std::vector<ProvisionalArea> NumberedAreas(const Store& st);

// After lines were taken out, two traced regions may have become one with a
// provisional position from each. Of the positions now sharing a region,
// the provisional ones should go, but the one of the lowest number where no
// other area holds the region: their area numbers, ascending. Areas the
// person made or renamed are never among them.
std::vector<int> SharedProvisionalAreas(const Store& st, const std::vector<ProvisionalArea>& placed);

// Stores a scan as the work's under-drawing bitmap in `file`, as loading an
// under-drawing does: its negative, reduced to the 16 colours.
bool StoreTracedPicture(QImage scan, const QString& file, QString* error);

// Whether `pixels` is `scan` as loading an under-drawing stores it, so that
// the scan itself may be traced instead of its 16 colours.
bool IsStoredPicture(QImage scan, const Surface& pixels);

}  // namespace usecase
