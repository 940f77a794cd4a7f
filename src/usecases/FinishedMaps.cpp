#include "usecases/FinishedMaps.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "ops/Network.h"
#include "base/SafeSave.h"
#include "georef/GeoRefFiles.h"
#include "text/ShiftJis.h"

namespace usecase {

namespace {
// The first line of an existing file, as the title it carries.
std::string FirstLine(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray line = f.readLine(4096);
    std::string s(line.constData(), size_t(line.size()));
    const auto br = s.find_first_of("\r\n");
    if (br != std::string::npos) s.resize(br);
    return std::string(sjis::CutToBytes(s, 255));
}

Result Failed(Message m) {
    return {false, std::move(m), {}};
}
}  // namespace

Result FinishedMapReady(const Store& st) {
    if (st.LegendX < 0)
        return Failed(Say(Msg::LegendNotPlaced, {}, Msg::CapWarning, MsgIcon::Warning));
    return {true, {}, {}};
}

TitleFields FinishedMapFields(Store& st, const QString& path, const QDateTime& now) {
    if (QFileInfo::exists(path)) st.MapTitle = FirstLine(path);
    return idt::DefaultTitleFields(st, now);
}

Result WriteFinishedMap(Store& st, const QString& path, const TitleFields& fields,
                        std::string workTitle) {
    if (Result ready = FinishedMapReady(st); !ready.ok) return ready;
    idt::WriteValues v;
    const QString error = idt::ReadTitleFields(fields, v);
    st.MapTitle = v.title;
    if (st.MapTitle != workTitle) st.MarkChanged();  // the work file keeps the title
    if (!error.isEmpty())
        return Failed(Say(Msg::MapNotWrittenBecause, {error}, Msg::CapError, MsgIcon::Error));
    const QString scaleError = idt::CheckScale(st, v.magnification);
    if (!scaleError.isEmpty())
        return Failed(Say(Msg::MapNotWrittenBecause, {scaleError}, Msg::CapError, MsgIcon::Error));
    st.MapCommentCount = int16_t(v.remarks.size());
    for (size_t i = 0; i < v.remarks.size(); ++i) st.MapComments[i + 1] = v.remarks[i];

    // Written beside the old file and renamed over it only when complete;
    // leftovers of a save cut short in that folder are cleared first.
    safesave::RemoveStaleFiles(QFileInfo(path).absolutePath());
    safesave::StagedFile file(path);
    QString why;
    bool ok = file.Begin() && idt::WriteIdt(file, st, v) && file.Finish();
    if (!ok) why = safesave::Reason(file.Error());
    // The georeference goes beside the map too, so that reading the map
    // back into a work keeps it.
    const std::vector<georef::SideFile> side = georef::SideFiles(st.Geo, path, QString());
    const QStringList stale = georef::StaleSideFiles(st.Geo, path, QString());
    safesave::StagedFile geo(side.empty() ? QString() : side[0].path);
    if (ok && !side.empty()) {
        ok = geo.Begin() && geo.write(side[0].bytes) == side[0].bytes.size() && geo.Finish();
        if (!ok) why = safesave::Reason(geo.Error());
    }
    if (ok) {
        std::vector<safesave::StagedFile*> files{&file};
        if (!side.empty()) files.push_back(&geo);
        ok = safesave::CommitAll(files, &why);
    }
    if (!ok) {
        file.Discard();
        geo.Discard();
        return Failed(Say(Msg::MapNotWritten, {path, why}, Msg::CapError, MsgIcon::Error));
    }
    for (const QString& f : stale) QFile::remove(f);
    Result r{true, {}, {path}};
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly) ||
        !written.setFileTime(v.stamp, QFileDevice::FileModificationTime))
        r.message = Say(Msg::MapTimeNotSet, {path}, Msg::CapWarning, MsgIcon::Warning);
    return r;
}

FinishedMapRead ReadFinishedMap(const QString& chosen) {
    FinishedMapRead out;
    QString path = chosen;
    // A name without extension means the .idt file, unless it names something
    // as it is (a pipe such as /dev/fd/63).
    if (QFileInfo(path).suffix().isEmpty() && !QFileInfo::exists(path))
        path += QStringLiteral(".idt");
    out.path = path;
    QFile file(path);
    if (!file.exists()) {
        out.result = Failed(Say(Msg::MapFileMissing, {path}, Msg::CapReadMap, MsgIcon::Error));
        return out;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        out.result = Failed(Say(Msg::MapFileNotOpened, {path, file.errorString()}, Msg::CapReadMap,
                                MsgIcon::Error));
        return out;
    }
    QString error;
    if (!idt::ParseIdt(file, out.content, error)) {
        out.result =
            Failed(Say(Msg::MapUnreadable, {path, error}, Msg::CapReadMap, MsgIcon::Error));
        return out;
    }
    const idt::IdtContent& c = out.content;
    // The store's limits are checked before the work in the editor is let go.
    if (c.points.size() > size_t(Store::Capacity) || c.kinds.size() > size_t(Store::Capacity)) {
        out.result = Failed(TooManyPoints(path, true));
        return out;
    }
    int w = 0, h = 0;
    auto see = [&](Rec r) {
        if (r.x <= 0) return;
        w = std::max(w, int(r.x) + 1);
        h = std::max(h, int(r.y) + 1);
    };
    for (Rec r : c.points) see(r);
    for (Rec r : c.kinds) see(r);
    for (const auto& a : c.areas)
        for (Rec r : a.pos) see(r);
    out.extent = QSize(std::min(w, 32767), std::min(h, 32767));
    georef::ReadBeside(path, out.geo, nullptr);
    out.result.ok = true;
    return out;
}

FinishedMapOpened OpenFinishedMap(Store& st, Surface& surf, FinishedMapRead&& read,
                                  const std::function<void()>& tick) {
    FinishedMapOpened out;
    idt::IdtContent& c = read.content;
    st.IdtFileName = read.path;
    st.Geo = std::move(read.geo);
    st.MapTitle = c.title;
    st.MapCommentCount = int16_t(c.remarks.size());
    for (size_t i = 0; i < c.remarks.size(); ++i) st.MapComments[i + 1] = c.remarks[i];
    st.LegendX = c.legendX;
    st.LegendY = c.legendY;
    areas::StoreAreas(st, c.areas);
    if (!st.AssignPoints(c.points) || !st.AssignKinds(c.kinds)) {
        out.result = Failed(TooManyPoints(read.path, false));
        return out;
    }
    out.readNotes = ReadNotes(read.path, c.cutNameLines, c.droppedAreaLines);
    c = idt::IdtContent{};  // the records now live in the store

    // Every segment once, the chains tidied; a list that would not fit even
    // so stays as it was.
    std::vector<Rec> v = st.PointsToVector();
    net::DropRepeatedSegments(v, tick);
    net::Tidy(v);
    if (v.size() > size_t(Store::Capacity)) {
        out.segmentsNote = Say(Msg::RepeatedSegmentsTooMany, {}, Msg::CapConfirm, MsgIcon::Warning);
    } else {
        st.AssignPoints(v);
        st.ForgetComposition();
    }
    v = {};
    st.MarkSaved();
    st.DropCompleted();
    st.BasePicLoaded = false;
    st.BasePicShown = true;

    // The surface holds every point, kind record and area position.
    int w = 0, h = 0;
    auto see = [&](Rec r) {
        if (r.x <= 0) return;
        w = std::max(w, int(r.x) + 1);
        h = std::max(h, int(r.y) + 1);
    };
    for (int32_t i = 0; i <= st.PointLast; ++i) see(st.Point(i));
    for (int32_t i = 0; i <= st.KindLast; ++i) see(st.KindRec(i));
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0; k < Store::Slots; ++k) {
            const Rec p = st.AreaPos(k, a);
            if (p.x == 0) break;
            see(p);
        }
    w = std::min(std::max(w, surf.Width()), 32767);
    h = std::min(std::max(h, surf.Height()), 32767);
    if (w != surf.Width() || h != surf.Height()) {
        if (!surf.Resize(w, h)) {
            out.surfaceNote = Say(Msg::IdtSurfaceNotGrown, {QString::number(w), QString::number(h)},
                                  Msg::CapWarning, MsgIcon::Warning);
        } else {
            st.MapWidth = int16_t(surf.Width());
            st.MapHeight = int16_t(surf.Height());
            out.surfaceGrown = true;
        }
    }
    out.result.ok = true;
    return out;
}

Message TooManyPoints(const QString& path, bool workKept) {
    Message m = Say(Msg::MapTooManyPoints, {path, QString::number(Store::Capacity)},
                    Msg::CapReadMap, MsgIcon::Error);
    // One text: the ending belongs to the same box.
    m.literal = m.Text() + (workKept ? msg::Text(Msg::WorkKept) : QString());
    m.id = Msg::None;
    return m;
}

Message ReadNotes(const QString& path, const std::vector<int>& cutNameLines, int droppedAreas) {
    QStringList notes;
    if (!cutNameLines.empty())
        notes << msg::Format(Msg::MapNamesCut, {areas::LineList(cutNameLines)});
    if (droppedAreas > 0)
        notes << msg::Format(Msg::MapAreasDropped,
                             {QString::number(Store::MaxAreas), QString::number(droppedAreas)});
    if (notes.isEmpty()) return {};
    Message m;
    m.literal = path + QStringLiteral("\n") + notes.join('\n');
    m.caption = Msg::CapReadMap;
    m.icon = MsgIcon::Warning;
    return m;
}

}  // namespace usecase
