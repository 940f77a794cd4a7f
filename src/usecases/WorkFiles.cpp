#include "usecases/WorkFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringEncoder>
#include <memory>

#include "base/SafeSave.h"
#include "georef/GeoRefFiles.h"
#include "raster/BitmapFile.h"
#include "text/ShiftJis.h"
#include "raster/SurfaceBudget.h"

namespace usecase {

namespace {

// Copies a file into an open save file in pieces, so a large picture is never
// held twice.
bool CopyInto(const QString& from, safesave::StagedFile& to, QString* error) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = msg::Format(Msg::PictureTempUnreadable, {from, in.errorString()});
        return false;
    }
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(chunk.data(), chunk.size());
        if (got < 0) {
            *error = msg::Format(Msg::PictureTempUnreadable, {from, in.errorString()});
            return false;
        }
        if (got == 0) return true;
        if (to.write(chunk.constData(), got) != got) {
            *error =
                msg::Format(Msg::PictureNotWritten, {to.FinalPath(), safesave::Reason(to.Error())});
            return false;
        }
    }
}

QSize Extent(int w, int h, const std::vector<Rec>& points, const std::vector<Rec>& kinds) {
    auto take = [&](Rec r) {
        if (r.x > 0) w = std::max(w, int(r.x) + 1);
        if (r.x > 0 && r.y >= 0) h = std::max(h, int(r.y) + 1);
    };
    for (Rec r : points) take(r);
    for (Rec r : kinds) take(r);
    return {w, h};
}

QSize WithLegend(QSize s, int16_t legendX, int16_t legendY) {
    if (legendX >= 0 && legendY >= 0) {
        s.setWidth(std::max(s.width(), std::min(int(legendX) + 101, 32767)));
        s.setHeight(std::max(s.height(), std::min(int(legendY) + 101, 32767)));
    }
    return s;
}

constexpr int MaxPictureSide = 32767;

}  // namespace

QSize MapExtent(const Store& st) {
    int w = st.MapWidth, h = st.MapHeight;
    auto take = [&](Rec r) {
        if (r.x > 0) w = std::max(w, int(r.x) + 1);
        if (r.x > 0 && r.y >= 0) h = std::max(h, int(r.y) + 1);
    };
    for (int32_t i = 0; i <= st.PointLast; ++i) take(st.Point(i));
    for (int32_t i = 0; i <= st.KindLast; ++i) take(st.KindRec(i));
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k) take(st.AreaPos(k, a));
    return WithLegend({w, h}, st.LegendX, st.LegendY);
}

WorkRead ReadWork(const QString& path) {
    WorkRead out;
    QString error;
    if (!ReadWorkFile(path, out.data, &error)) {
        out.result = {
            false, Say(Msg::WorkUnreadable, {error}, Msg::CapLoadWork, MsgIcon::Error), {}};
        return out;
    }
    const WorkData& d = out.data;
    // Only the bare name counts: the bitmap lies beside the work file.
    const QString bare = QFileInfo(sjis::ToUnicode(d.picture).replace(u'\\', u'/')).fileName();
    if (d.picture != "0") {
        out.picture = QFileInfo(path).absoluteDir().filePath(bare);
        out.pictureNamed = !bare.isEmpty();
    }
    QSize room = Extent(d.mapWidth, d.mapHeight, d.points, d.kinds);
    int w = room.width(), h = room.height();
    for (const auto& area : d.positions)
        for (Rec r : area) {
            if (r.x == 0) break;
            if (r.x > 0) w = std::max(w, int(r.x) + 1);
            if (r.x > 0 && r.y >= 0) h = std::max(h, int(r.y) + 1);
        }
    room = WithLegend({w, h}, d.legendX, d.legendY);
    if (d.picture != "0" && !bare.isEmpty())
        room = room.expandedTo(
            QImageReader(out.picture).size().boundedTo(QSize(MaxPictureSide, MaxPictureSide)));
    out.extent = room;
    QString why;
    if (georef::ReadBeside(path, out.geo, &why) == georef::ReadState::Unreadable)
        out.geoNote = Say(Msg::GeoRefUnreadable, {georef::JsonPathFor(path), why}, Msg::CapLoadWork,
                          MsgIcon::Warning);
    out.result.ok = true;
    return out;
}

Result LoadWorkPicture(const WorkRead& read, const QString& pictureFile) {
    const QString& path = read.picture;
    if (!read.pictureNamed || !QFileInfo(path).isFile())
        return {
            false, Say(Msg::PictureNotFound, {path}, Msg::CapNoPicture, MsgIcon::Information), {}};
    QString why;
    QImage img = ReadBitmapFile(path, &why);
    if (!img.isNull() && (img.width() > MaxPictureSide || img.height() > MaxPictureSide))
        why = msg::Format(Msg::PictureTooLarge,
                          {path, QString::number(img.width()), QString::number(img.height())});
    else if (!img.isNull() && WriteBitmapFile(img, pictureFile, &why))
        return {true, {}, {pictureFile}};
    return {false, Say(Msg::PictureUnusable, {why}, Msg::CapNoPicture, MsgIcon::Information), {}};
}

WorkOpened OpenWork(Store& st, Surface& surf, const QString& path, WorkRead&& read,
                    const QString& pictureFile) {
    WorkOpened out;
    const QStringList notes = read.data.notes;
    const bool pictureNamed = read.data.picture != "0";
    const std::string pictureLine = read.data.picture;
    st.WorkFileName = path;
    ApplyWork(std::move(read.data), st);
    st.Geo = std::move(read.geo);
    out.geoNote = read.geoNote;
    st.BasePicLoaded = false;
    st.BasePicShown = true;
    if (pictureNamed) {
        const Result pic = LoadWorkPicture(read, pictureFile);
        st.BasePicLoaded = out.picture = pic.ok;
        out.pictureNote = pic.message;
        if (!pic.ok) out.keptPicture = pictureLine;
    }
    st.MarkSaved();

    // A map drawn on a larger surface than this one still has to fit.
    const QSize need = MapExtent(st);
    if (need.width() > surf.Width() || need.height() > surf.Height()) {
        const int w = std::max(need.width(), surf.Width()),
                  h = std::max(need.height(), surf.Height());
        if (!surf.Resize(w, h))
            out.surfaceNote = Say(Msg::SurfaceNotGrown, {QString::number(w), QString::number(h)},
                                  Msg::CapLoadWork, MsgIcon::Warning);
        out.surfaceGrown = true;
    }
    // The map extent covers every point, so that clearing the map area also
    // clears under the points that lie beyond the extent the file gave.
    st.MapWidth = int16_t(std::min({need.width(), surf.Width(), 32767}));
    st.MapHeight = int16_t(std::min({need.height(), surf.Height(), 32767}));
    if (!notes.isEmpty()) {
        out.readNotes.literal = notes.join(u'\n');
        out.readNotes.caption = Msg::CapLoadWork;
        out.readNotes.icon = MsgIcon::Information;
    }
    return out;
}

Result SurfaceRoom(QSize need, QSize have, Msg caption) {
    if (need.width() <= have.width() && need.height() <= have.height()) return {true, {}, {}};
    Message m;
    m.literal = SurfaceRefusal(std::max(need.width(), have.width()),
                               std::max(need.height(), have.height()));
    if (m.literal.isEmpty()) return {true, {}, {}};
    m.caption = caption;
    m.icon = MsgIcon::Error;
    return {false, m, {}};
}

Result WorkPictureLine(const Store& st, const WorkNames& names, std::string* picture,
                       std::string_view kept) {
    *picture = st.BasePicLoaded || kept.empty() ? "0" : std::string(kept);
    if (!st.BasePicLoaded) return {true, {}, {}};
    const QString bare = QFileInfo(names.bitmap).fileName();
    QStringEncoder enc("windows-31j");
    const QByteArray bytes = enc.encode(bare);
    if (enc.hasError())
        return {
            false, Say(Msg::PictureNameNotSjis, {bare}, Msg::CapSaveWork, MsgIcon::Warning), {}};
    picture->assign(bytes.constData(), size_t(bytes.size()));
    return {true, {}, {}};
}

Result SaveWork(const Store& st, const WorkNames& names, const QString& pictureFile,
                std::string_view keptPicture) {
    std::string picture;
    Result r = WorkPictureLine(st, names, &picture, keptPicture);
    if (!r.ok) return r;
    // Both files are written in full beside their final names and then put in
    // place together: a failure leaves the previous pair as it was, and
    // leftovers of an earlier save cut short are cleared first.
    safesave::RemoveStaleFiles(QFileInfo(names.work).absolutePath());
    QString error;
    safesave::StagedFile bitmap(names.bitmap), work(names.work);
    // The georeference goes with the pair, beside the work file and, in the
    // forms GIS tools read, beside the bitmap.
    const QString pictureName = st.BasePicLoaded ? names.bitmap : QString();
    const std::vector<georef::SideFile> side = georef::SideFiles(st.Geo, names.work, pictureName);
    const QStringList stale = georef::StaleSideFiles(st.Geo, names.work, pictureName);
    std::vector<std::unique_ptr<safesave::StagedFile>> sideStaged;
    bool ok = true;
    if (st.BasePicLoaded) {
        ok = bitmap.Begin() && CopyInto(pictureFile, bitmap, &error) && bitmap.Finish();
        if (!ok && error.isEmpty())
            error = msg::Format(Msg::PictureNotWritten,
                                {names.bitmap, safesave::Reason(bitmap.Error())});
    }
    if (ok) {
        ok = work.Begin() && WriteWork(work, st, picture) && work.Finish();
        if (!ok)
            error = msg::Format(Msg::FileNotWritable, {names.work, safesave::Reason(work.Error())});
    }
    for (const georef::SideFile& f : side) {
        if (!ok) break;
        auto& staged = sideStaged.emplace_back(std::make_unique<safesave::StagedFile>(f.path));
        ok = staged->Begin() && staged->write(f.bytes) == f.bytes.size() && staged->Finish();
        if (!ok)
            error = msg::Format(Msg::FileNotWritable, {f.path, safesave::Reason(staged->Error())});
    }
    if (ok) {
        std::vector<safesave::StagedFile*> pair{&work};
        if (st.BasePicLoaded) pair.insert(pair.begin(), &bitmap);
        for (auto& f : sideStaged) pair.push_back(f.get());
        ok = safesave::CommitAll(pair, &error);
    }
    if (!ok) {
        bitmap.Discard();
        work.Discard();
        for (auto& f : sideStaged) f->Discard();
        return {false, Say(Msg::WorkNotSaved, {error}, Msg::CapSaveWork, MsgIcon::Error), {}};
    }
    for (const QString& f : stale) QFile::remove(f);
    r.written.clear();
    if (st.BasePicLoaded) r.written << names.bitmap;
    r.written << names.work;
    for (const georef::SideFile& f : side) r.written << f.path;
    return r;
}

Result SaveGeoRef(const Store& st, const WorkNames& names) {
    const QString pictureName = st.BasePicLoaded ? names.bitmap : QString();
    const std::vector<georef::SideFile> side = georef::SideFiles(st.Geo, names.work, pictureName);
    const QStringList stale = georef::StaleSideFiles(st.Geo, names.work, pictureName);
    std::vector<std::unique_ptr<safesave::StagedFile>> staged;
    QString error;
    bool ok = true;
    for (const georef::SideFile& f : side) {
        auto& file = staged.emplace_back(std::make_unique<safesave::StagedFile>(f.path));
        ok = file->Begin() && file->write(f.bytes) == f.bytes.size() && file->Finish();
        if (!ok) {
            error = msg::Format(Msg::FileNotWritable, {f.path, safesave::Reason(file->Error())});
            break;
        }
    }
    if (ok) {
        std::vector<safesave::StagedFile*> all;
        for (auto& f : staged) all.push_back(f.get());
        ok = safesave::CommitAll(all, &error);
    }
    if (!ok) {
        for (auto& f : staged) f->Discard();
        return {false, Say(Msg::WorkNotSaved, {error}, Msg::CapSaveWork, MsgIcon::Error), {}};
    }
    for (const QString& f : stale) QFile::remove(f);
    Result r{true, {}, {}};
    for (const georef::SideFile& f : side) r.written << f.path;
    return r;
}

bool ReadPicturePixels(const QString& file, Surface& pixels, QString* error) {
    const QImage img = ReadBitmapFile(file, error);
    if (img.isNull()) return false;
    // Larger than a coordinate can address: the map could never be edited.
    if (img.width() > 32767 || img.height() > 32767) {
        *error = msg::Text(Msg::PictureTooLargeShort).arg(img.width()).arg(img.height());
        return false;
    }
    if (!pixels.Resize(img.width(), img.height())) {
        *error = msg::Text(Msg::PictureDisplayMemory).arg(img.width()).arg(img.height());
        return false;
    }
    pixels.DrawImage(img, 0, 0);
    return true;
}

}  // namespace usecase
