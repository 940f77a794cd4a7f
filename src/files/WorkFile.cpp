// The work-file commands: save, load, new work, the reset they share, and the
// tool-bar open and save buttons.
#include "files/WorkFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

#include "core/Editor.h"
#include "editor/usecases/WorkFiles.h"
#include "raster/BitmapFile.h"
#include "text/ShiftJis.h"
#include "view/SurfaceBudget.h"

namespace {

const QString WorkFilter = QStringLiteral("作業ﾌｧｲﾙ(*.vlm)|*.vlm");
const QString LoadCaption = QStringLiteral("作業読込");
constexpr int MaxPictureSide = 32767;

// The largest coordinate any point, position or the legend box reaches.
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
    if (st.LegendX >= 0 && st.LegendY >= 0) {
        w = std::max(w, std::min(int(st.LegendX) + 101, 32767));
        h = std::max(h, std::min(int(st.LegendY) + 101, 32767));
    }
    return {w, h};
}

// The same for a work file that has been read but not yet put in the store.
QSize ExtentOf(const WorkData& d) {
    int w = d.mapWidth, h = d.mapHeight;
    auto take = [&](Rec r) {
        if (r.x > 0) w = std::max(w, int(r.x) + 1);
        if (r.x > 0 && r.y >= 0) h = std::max(h, int(r.y) + 1);
    };
    for (Rec r : d.points) take(r);
    for (Rec r : d.kinds) take(r);
    for (const auto& area : d.positions)
        for (Rec r : area) {
            if (r.x == 0) break;
            take(r);
        }
    if (d.legendX >= 0 && d.legendY >= 0) {
        w = std::max(w, std::min(int(d.legendX) + 101, 32767));
        h = std::max(h, std::min(int(d.legendY) + 101, 32767));
    }
    return {w, h};
}

}  // namespace

void Editor::ResetWork() {
    docFile_.clear();
    st.PointLast = 0;
    st.SetPoint(0, 0, 0);
    st.KindLast = -1;
    st.AreaCount = 0;
    for (int a = 1; a <= Store::MaxAreas; ++a) {
        st.SetAreaName(a, {});
        st.AreaPos(0, a) = Rec{};
    }
    st.LegendX = st.LegendY = -1;
    st.TempPolyLast = -1;
    st.GrabIndex = 0;
    st.PickFirst = 0;
    st.ClickX = st.ClickY = 0;
    st.Modified = st.Completed = st.Composed = st.BasePicLoaded = false;
    st.BasePicShown = true;
    st.MapWidth = int16_t(std::min(surf.Width(), 32767));
    st.MapHeight = int16_t(std::min(surf.Height(), 32767));
    DisableRemakeCommands();
}

void Editor::NewWorkClick() {
    if (!ui.AskYesNo(QStringLiteral("現在の作業を破棄しますか？"), QStringLiteral("確認"))) return;
    ResetWork();
    ReDraw();
}

void Editor::SaveWorkClick() {
    const QString chosen = ui.ChooseSaveFile(WorkFilter, st.WorkFileName, QStringLiteral("vlm"));
    if (chosen.isEmpty()) return;
    const WorkNames names = WorkFileNames(chosen);
    st.WorkFileName = names.work;

    std::string picture;
    if (!PictureLine(names, &picture)) return;
    if (st.BasePicLoaded && QFileInfo::exists(names.bitmap) &&
        !ui.AskYesNo(msg::Format(Msg::FileExistsOverwrite, {names.bitmap}),
                     msg::Text(Msg::CapOverwrite)))
        return;
    if (QFileInfo::exists(names.work) &&
        !ui.AskYesNo(msg::Format(Msg::FileExistsOverwrite, {names.work}),
                     msg::Text(Msg::CapOverwrite))) {
        st.WorkFileName.clear();
        return;
    }
    SaveWorkPair(names, picture);
}

bool Editor::PictureLine(const WorkNames& names, std::string* picture) {
    const usecase::Result r = usecase::WorkPictureLine(st, names, picture);
    usecase::Show(ui, r.message);
    return r.ok;
}

bool Editor::SaveWorkPair(const WorkNames& names, const std::string&) {
    ui.SetBusy(true);
    const usecase::Result r = usecase::SaveWork(st, names, st.TempPicFile);
    if (!r.ok) {
        ui.SetBusy(false);
        usecase::Show(ui, r.message);
        return false;
    }
    st.Modified = false;
    WorkSaved(names.work);
    ReDraw();
    ui.SetBusy(false);
    return true;
}

bool Editor::LoadWorkFile(const QString& name) {
    ui.RepaintNow();
    ui.SetBusy(true);
    WorkData d;
    QString error;
    if (!ReadWorkFile(name, d, &error)) {
        ui.SetBusy(false);
        ui.Inform(QStringLiteral("作業ファイルを読み込めません。\n%1\n現在の作業はそのままです。")
                      .arg(error),
                  LoadCaption, MsgIcon::Error);
        return false;
    }
    const QStringList notes = d.notes;
    const std::string picture = d.picture;
    // Only the bare name counts: the bitmap lies beside the work file.
    const QString bare = QFileInfo(sjis::ToUnicode(picture).replace(u'\\', u'/')).fileName();
    const QString path = QFileInfo(name).absoluteDir().filePath(bare);

    // The surface will have to hold the map and its picture; a size far
    // beyond the usual is asked about before the current work is let go.
    QSize room = ExtentOf(d);
    if (picture != "0" && !bare.isEmpty())
        room = room.expandedTo(QImageReader(path).size().boundedTo(QSize(32767, 32767)));
    if ((room.width() > surf.Width() || room.height() > surf.Height()) &&
        !MayGrowSurface(ui, std::max(room.width(), surf.Width()),
                        std::max(room.height(), surf.Height()), LoadCaption)) {
        ui.SetBusy(false);
        return false;
    }

    ResetWork();
    st.WorkFileName = name;
    docFile_ = name;
    ApplyWork(std::move(d), st);

    st.BasePicLoaded = false;
    st.BasePicShown = true;
    DisablePictureCommands();
    if (picture != "0") {
        if (!bare.isEmpty() && QFileInfo(path).isFile()) {
            QString why;
            QImage img = ReadBitmapFile(path, &why);
            if (!img.isNull() && (img.width() > MaxPictureSide || img.height() > MaxPictureSide))
                why = QStringLiteral(
                          "%1 は %2 x %3 ピクセルあり、扱える大きさ (32767) を超えています。")
                          .arg(path)
                          .arg(img.width())
                          .arg(img.height());
            else if (!img.isNull() && WriteBitmapFile(img, st.TempPicFile, &why)) {
                st.BasePicLoaded = true;
                picPath_.clear();  // a new picture under the same name
            }
            if (st.BasePicLoaded)
                EnablePictureCommands();
            else
                ui.Inform(why + QStringLiteral("\n下絵は使えません。"), QStringLiteral("下絵なし"),
                          MsgIcon::Information);
        } else {
            ui.Inform(path + QStringLiteral(" がみつかりません。下絵は使えません。"),
                      QStringLiteral("下絵なし"), MsgIcon::Information);
        }
    }

    if (st.AreaCount >= 1 && st.PointLast >= 3)
        EnableAreaPosCommands();
    else
        DisableAreaPosCommands();
    if (st.PointLast >= 3)
        EnableRemakeCommands();
    else
        DisableRemakeCommands();
    st.Modified = false;

    // A map drawn on a larger surface than this one still has to fit.
    const QSize need = MapExtent(st);
    if (need.width() > surf.Width() || need.height() > surf.Height()) {
        const int w = std::max(need.width(), surf.Width()),
                  h = std::max(need.height(), surf.Height());
        if (!surf.Resize(w, h))
            ui.Inform(QStringLiteral(
                          "描画面を %1 x %2 ピクセルに広げられません。地図の一部は表示されません。")
                          .arg(w)
                          .arg(h),
                      LoadCaption, MsgIcon::Warning);
        ui.SurfaceChanged();
    }
    // The map extent covers every point, so that clearing the map area also
    // clears under the points that lie beyond the extent the file gave.
    st.MapWidth = int16_t(std::min({need.width(), surf.Width(), 32767}));
    st.MapHeight = int16_t(std::min({need.height(), surf.Height(), 32767}));
    if (!notes.isEmpty()) ui.Inform(notes.join(u'\n'), LoadCaption, MsgIcon::Information);
    NoteRecentFile(name);
    ui.SetScrollPos(QPoint(0, 0));
    ReDraw();
    ui.SetBusy(false);
    return true;
}

void Editor::LoadWorkClick() {
    if (st.Modified &&
        !ui.AskYesNo(QStringLiteral("現在の作業を破棄してよいですか？"), QStringLiteral("確認")))
        return;
    const QString file = ui.ChooseOpenFile(WorkFilter, QString(), QStringLiteral("vlm"));
    if (file.isEmpty()) return;
    if (LoadWorkFile(file)) BuildModeClick();
}

void Editor::SpFileOpenClick() {
    // Opening from the tool bar replaces the work just as the menu does, so it
    // asks the same question before unsaved changes are let go.
    if (st.Modified &&
        !ui.AskYesNo(QStringLiteral("現在の作業を破棄してよいですか？"), QStringLiteral("確認")))
        return;
    const QString file =
        ui.ChooseOpenFile(QStringLiteral("作業ﾌｧｲﾙ(*.vlm)|*.vlm|IDT ﾌｧｲﾙ(*.idt)|*.idt"), QString(),
                          QStringLiteral("vlm"));
    if (file.isEmpty()) return;
    const QString bare = QFileInfo(file).fileName();
    const qsizetype dot = bare.lastIndexOf(u'.');
    const QString ext = dot >= 0 ? bare.mid(dot).toUpper() : QString();
    bool ok = true;
    if (ext == QStringLiteral(".VLM"))
        ok = LoadWorkFile(file);
    else if (ext == QStringLiteral(".IDT"))
        ok = ReadFinishedMap(file);
    // A file that could not be read leaves the editor as it was, mode included.
    if (ok) BuildModeClick();
}

void Editor::SpFileSaveClick() {
    SaveWorkClick();
    if (st.Completed &&
        ui.AskYesNo(QStringLiteral("完成図として保存しますか ?"), QStringLiteral("完成図保存")))
        WriteMapClick();
}
