// 自動トレース: the under-drawing's boundaries read into the work. The
// dialog previews; the trace runs here with the progress bar, adds its
// network as one step, and lists the edges worth a second look.
#include "editor/commands/TraceCommands.h"

#include <algorithm>

#include "base/Messages.h"
#include "editor/Report.h"
#include "editor/Services.h"
#include "editor/commands/PictureCommands.h"
#include "editor/commands/ProblemList.h"
#include "raster/PictureFile.h"
#include "store/Store.h"
#include "text/ShiftJis.h"
#include "usecases/Trace.h"
#include "usecases/WorkFiles.h"

struct TraceCommands::ProvisionalPositions {
    std::vector<usecase::ProvisionalArea> placed;
};

struct TraceCommands::TracedEdges {
    std::vector<std::vector<QPoint>> edges;
    int marked = -1;
    QRect rect;
    std::vector<uint8_t> under;
};

namespace {

// The under-drawing as scanned: the stored picture is its 16-colour negative.
QImage PictureAsScanned(const Surface& pixels) {
    QImage img(pixels.Width(), pixels.Height(), QImage::Format_RGB32);
    for (int y = 0; y < pixels.Height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const uint8_t* in = pixels.Data() + size_t(y) * size_t(pixels.Width());
        for (int x = 0; x < pixels.Width(); ++x) {
            const QRgb c = PaletteRgb(in[x]);
            row[x] = qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c));
        }
    }
    return img;
}

}  // namespace

void TraceCommands::AutoTraceClick() {
    if (!st.BasePicLoaded) {
        ui.Inform(msg::Text(Msg::TraceNoPicture), msg::Text(Msg::CapAutoTrace),
                  MsgIcon::Information);
        return;
    }
    Surface pixels;
    QString error;
    ui.SetBusy(true);
    const bool read = usecase::ReadPicturePixels(temps.picture, pixels, &error);
    ui.SetBusy(false);
    if (!read) {
        ui.Inform(error, msg::Text(Msg::CapAutoTrace), MsgIcon::Error);
        return;
    }
    // The scan as read holds the grey levels and colours the 16 stored
    // colours lose: a shaded or grainy page turns to ink there.
    QImage scan;
    if (!picture_.pictureFile_.isEmpty()) {
        ui.SetBusy(true);
        QString ignored;
        scan = ReadPictureFile(picture_.pictureFile_, &ignored);
        if (!usecase::IsStoredPicture(scan, pixels)) scan = QImage();
        ui.SetBusy(false);
    }
    if (scan.isNull()) scan = PictureAsScanned(pixels);
    usecase::TraceSession session(std::move(scan), msg::Text(Msg::TracePictureName));
    pixels = Surface();
    usecase::TraceChoice choice;
    // Areas to compose come with the trace unless the work has its own.
    choice.positions = st.AreaCount == 0;
    if (!ui.AutoTraceDialog(session, choice)) return;

    ui.SetBusy(true);
    progress.SetPosition(0);
    progress.Show();
    const usecase::TraceOutcome out = session.Run(choice, [&](int p) {
        progress.SetPosition(p);
        return !ui.StopRequested();
    });
    progress.SetPosition(0);
    progress.Hide();
    ui.SetBusy(false);
    if (out.cancelled) return;  // the work is as it was
    if (!out.result.ok) return usecase::Show(ui, out.result.message);

    Store traced = st;
    const usecase::Result added = usecase::AddTracedNetwork(traced, out.net, choice.positions);
    if (!added.ok) return usecase::Show(ui, added.message);
    if (choice.positions) {
        if (!provisional_) provisional_ = std::make_shared<ProvisionalPositions>();
        const std::vector<usecase::ProvisionalArea> placed =
            usecase::ProvisionalAreas(traced, st.AreaCount + 1);
        provisional_->placed.insert(provisional_->placed.end(), placed.begin(), placed.end());
    }
    doc.ReplaceMap(std::move(traced));
    // New lines: any composition done before no longer holds, and a work
    // with areas may be composed again.
    doc.MarkEdited();
    wb.states.EnableRemakeCommands();
    if (st.AreaCount >= 1) wb.states.EnableAreaPosCommands();
    ReDraw(wb);
    ui.Inform(msg::Format(Msg::TraceDone,
                          {QString::number(out.chains), QString::number(out.points),
                           QString::number(out.enclosed), QString::number(out.doubts.size())}),
              msg::Text(Msg::CapAutoTrace), MsgIcon::Information);
    usecase::Show(ui, added.message);

    // The doubtful edges go into the problem list.
    if (problemList_.problems_) problemList_.TakeBackCheckMark();
    problemList_.problems_.reset();
    auto list = std::make_shared<TracedEdges>();
    std::vector<CheckRow> rows;
    for (const usecase::TraceDoubt& d : out.doubts) {
        list->edges.push_back(out.net.edges[size_t(d.edge)].points);
        const QString why = usecase::DoubtText(d.doubts);
        rows.push_back({int(rows.size()) + 1, 0, QString(), why,
                        QStringLiteral("%1 (%2, %3)").arg(why).arg(d.at.x()).arg(d.at.y()), d.at});
    }
    traced_ = rows.empty() ? nullptr : std::move(list);
    ui.CheckListShow(rows, msg::Format(Msg::TraceDoubtsFound, {QString::number(rows.size())}));
}

std::vector<usecase::ProvisionalArea> TraceCommands::MaybeProvisional() const {
    // Positions this window's traces put in, and areas named by a number
    // alone (a traced work opened again, or one velmot-cli traced), which
    // may also be the person's own.
    std::vector<usecase::ProvisionalArea> placed;
    if (provisional_) placed = provisional_->placed;
    const std::vector<usecase::ProvisionalArea> numbered = usecase::NumberedAreas(st);
    placed.insert(placed.end(), numbered.begin(), numbered.end());
    return placed;
}

std::vector<int> TraceCommands::SharingProvisional() const {
    return usecase::SharedProvisionalAreas(st, MaybeProvisional());
}

void TraceCommands::DropMergedProvisionalPositions(const std::vector<int>& sharedBefore) {
    // The recorded positions go without asking; numbered areas are offered.
    // Areas that shared a region before the change are none of its doing.
    const std::vector<usecase::ProvisionalArea> placed = MaybeProvisional();
    const size_t recorded = provisional_ ? provisional_->placed.size() : 0;
    std::vector<int> drop = usecase::SharedProvisionalAreas(st, placed);
    drop.erase(std::remove_if(drop.begin(), drop.end(),
                              [&](int a) {
                                  return std::binary_search(sharedBefore.begin(),
                                                            sharedBefore.end(), a);
                              }),
               drop.end());
    if (drop.empty()) return;
    auto isRecorded = [&](int a) {
        for (size_t k = 0; k < recorded; ++k)
            if (placed[k].at == st.AreaPos(0, a) && placed[k].name == st.AreaName(a)) return true;
        return false;
    };
    QStringList offered;
    for (int a : drop)
        if (!isRecorded(a)) offered << sjis::ToUnicode(st.AreaName(a));
    if (!offered.isEmpty() &&
        !ui.AskYesNo(msg::Format(Msg::TraceNumberedAsk, {offered.join(QStringLiteral("、"))}),
                     msg::Text(Msg::CapAutoTrace)))
        drop.erase(std::remove_if(drop.begin(), drop.end(), [&](int a) { return !isRecorded(a); }),
                   drop.end());
    if (drop.empty()) return;
    // The areas after each one dropped move down, as the name table would
    // show them with its row deleted.
    QStringList names;
    int kept = 0;
    size_t d = 0;
    const int count = st.AreaCount;
    for (int a = 1; a <= count; ++a) {
        if (d < drop.size() && drop[d] == a) {
            names << sjis::ToUnicode(st.AreaName(a));
            ++d;
            continue;
        }
        if (++kept == a) continue;
        const std::string name(st.AreaName(a));
        doc.NameArea(kept, name);
        for (int k = 0; k < Store::Slots; ++k) doc.PlaceArea(k, kept, st.AreaPos(k, a));
    }
    for (int a = kept + 1; a <= count; ++a) {
        doc.NameArea(a, {});
        for (int k = 0; k < Store::Slots; ++k) doc.PlaceArea(k, a, Rec{});
    }
    doc.SetAreaCount(kept);
    ui.ShowStatus(msg::Format(Msg::TraceProvisionalDropped, {names.join(QStringLiteral("、"))}));
}

void TraceCommands::TracedEdgeClick(int index) {
    if (!traced_ || index < 0 || index >= int(traced_->edges.size())) return;
    const QRect was = UnmarkTracedEdge();
    if (!was.isEmpty()) ui.SurfaceRegionChanged(was);
    TracedEdges& t = *traced_;
    const std::vector<QPoint>& e = t.edges[size_t(index)];
    QRect box;
    for (const QPoint& p : e) box |= QRect(p, QSize(1, 1));
    t.rect = box.adjusted(-1, -1, 1, 1) & QRect(0, 0, surf.Width(), surf.Height());
    t.under.clear();
    for (int y = t.rect.top(); y <= t.rect.bottom(); ++y)
        for (int x = t.rect.left(); x <= t.rect.right(); ++x) t.under.push_back(surf.Pixel(x, y));
    t.marked = index;
    const uint8_t pen = surf.Pen();
    const Rop rop = surf.CurrentRop();
    surf.SetPen(Red);
    surf.SetRop(Rop::Copy);
    surf.Polyline(e);
    surf.SetPixel(e.back().x(), e.back().y(), Red);
    surf.SetPen(pen);
    surf.SetRop(rop);
    const QPoint at = e[e.size() / 2];
    wb.canvas.CenterViewOn(at.x(), at.y());
    if (!t.rect.isEmpty()) ui.SurfaceRegionChanged(t.rect);
}

QRect TraceCommands::UnmarkTracedEdge() {
    if (!traced_ || traced_->marked < 0) return QRect();
    TracedEdges& t = *traced_;
    size_t k = 0;
    // A pixel drawn over since keeps what it shows now.
    for (int y = t.rect.top(); y <= t.rect.bottom(); ++y)
        for (int x = t.rect.left(); x <= t.rect.right(); ++x, ++k)
            if (surf.Pixel(x, y) == Red) surf.SetPixel(x, y, t.under[k]);
    t.marked = -1;
    const QRect was = t.rect;
    t.rect = QRect();
    return was;
}
