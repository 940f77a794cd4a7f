// The work-file commands: save, load, new work, the reset they share, and the
// tool-bar open and save buttons.
#include "editor/commands/WorkFileCommands.h"

#include <QFileInfo>
#include <algorithm>

#include "base/Messages.h"
#include "editor/Report.h"
#include "editor/Services.h"
#include "editor/commands/FinishedMapCommands.h"
#include "editor/tools/Tools.h"
#include "formats/WorkFormat.h"
#include "raster/SurfaceBudget.h"
#include "usecases/WorkFiles.h"

namespace {
const QString WorkFilter = msg::Text(Msg::FilterWork);
}  // namespace

void WorkFileCommands::ResetWork() {
    wb.sessionFiles.docFile_.clear();
    keptPicture_.clear();
    // The map empties; the names the dialogs propose stay.
    Store empty = st;
    empty.PointLast = 0;
    empty.SetPoint(0, 0, 0);
    empty.KindLast = -1;
    empty.AreaCount = 0;
    for (int a = 1; a <= Store::MaxAreas; ++a) {
        empty.SetAreaName(a, {});
        empty.AreaPos(0, a) = Rec{};
    }
    empty.LegendX = empty.LegendY = -1;
    empty.Geo = {};
    doc.ReplaceMap(std::move(empty));
    wb.modes.tools->CancelAll();
    wb.SetClick(0, 0);
    doc.ClearFlags();
    doc.NoPicture();
    doc.SetExtent(int16_t(std::min(surf.Width(), 32767)), int16_t(std::min(surf.Height(), 32767)));
    wb.states.DisableRemakeCommands();
}

bool WorkFileCommands::MayLetWorkGo(Msg question, Msg caption) {
    switch (ui.AskSaveDiscardCancel(msg::Text(question), msg::Text(caption))) {
        case SaveChoice::Save:
            // A cancelled or failed save keeps the work where it is.
            SaveOverClick();
            return !st.Modified;
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

void WorkFileCommands::NewWorkClick() {
    // Asked every time; unsaved changes may be saved first.
    if (st.Modified ? !MayLetWorkGo(Msg::DiscardWorkAsk2)
                    : !ui.AskYesNo(msg::Text(Msg::DiscardWorkAsk2), msg::Text(Msg::CapConfirm)))
        return;
    ResetWork();
    // A new map has no title or remarks of the one before.
    doc.SetTitle({});
    doc.SetComments(std::vector<std::string>(Store::MaxComments));
    doc.SetComments({});
    doc.BeginHistory();
    ReDraw(wb);
}

void WorkFileCommands::SaveWorkClick() {
    const QString chosen = ui.ChooseSaveFile(WorkFilter, st.WorkFileName, QStringLiteral("vlm"));
    if (chosen.isEmpty()) return;
    const WorkNames names = WorkFileNames(chosen);
    doc.NameWorkFile(names.work);

    std::string picture;
    if (!PictureLine(names, &picture)) return;
    if (st.BasePicLoaded && QFileInfo::exists(names.bitmap) &&
        !ui.AskYesNo(msg::Format(Msg::FileExistsOverwrite, {names.bitmap}),
                     msg::Text(Msg::CapOverwrite)))
        return;
    if (QFileInfo::exists(names.work) &&
        !ui.AskYesNo(msg::Format(Msg::FileExistsOverwrite, {names.work}),
                     msg::Text(Msg::CapOverwrite))) {
        doc.NameWorkFile(QString());
        return;
    }
    SaveWorkPair(names, picture);
}

bool WorkFileCommands::PictureLine(const WorkNames& names, std::string* picture) {
    const usecase::Result r = usecase::WorkPictureLine(st, names, picture, keptPicture_);
    usecase::Show(ui, r.message);
    return r.ok;
}

bool WorkFileCommands::SaveWorkPair(const WorkNames& names, const std::string&) {
    ui.SetBusy(true);
    const usecase::Result r = usecase::SaveWork(st, names, temps.picture, keptPicture_);
    if (!r.ok) {
        ui.SetBusy(false);
        usecase::Show(ui, r.message);
        return false;
    }
    doc.MarkSaved();
    wb.sessionFiles.WorkSaved(names.work);
    ReDraw(wb);
    ui.SetBusy(false);
    return true;
}

bool WorkFileCommands::LoadWorkFile(const QString& name, bool ownHistory) {
    ui.RepaintNow();
    ui.SetBusy(true);
    usecase::WorkRead read = usecase::ReadWork(name);
    if (!read.result.ok) {
        ui.SetBusy(false);
        usecase::Show(ui, read.result.message);
        return false;
    }
    // The surface will have to hold the map and its picture; a size far
    // beyond the usual is asked about before the current work is let go.
    const QSize room = read.extent;
    if ((room.width() > surf.Width() || room.height() > surf.Height()) &&
        !MayGrowSurface(ui, std::max(room.width(), surf.Width()),
                        std::max(room.height(), surf.Height()), msg::Text(Msg::CapLoadWork))) {
        ui.SetBusy(false);
        return false;
    }

    ResetWork();
    wb.sessionFiles.docFile_ = name;
    wb.states.DisablePictureCommands();
    Store loaded = st;
    const usecase::WorkOpened opened =
        usecase::OpenWork(loaded, surf, name, std::move(read), temps.picture);
    doc.ReplaceMap(std::move(loaded));
    keptPicture_ = opened.keptPicture;
    if (ownHistory) doc.BeginHistory();
    if (opened.picture) {
        wb.canvas.picPath_.clear();  // a new picture under the same name
        wb.states.EnablePictureCommands();
    }
    usecase::Show(ui, opened.pictureNote);
    if (st.AreaCount >= 1 && st.PointLast >= 3)
        wb.states.EnableAreaPosCommands();
    else
        wb.states.DisableAreaPosCommands();
    if (st.PointLast >= 3)
        wb.states.EnableRemakeCommands();
    else
        wb.states.DisableRemakeCommands();
    usecase::Show(ui, opened.surfaceNote);
    if (opened.surfaceGrown) ui.SurfaceChanged();
    usecase::Show(ui, opened.readNotes);
    usecase::Show(ui, opened.geoNote);
    wb.sessionFiles.NoteRecentFile(name);
    ui.SetScrollPos(QPoint(0, 0));
    ReDraw(wb);
    ui.SetBusy(false);
    return true;
}

void WorkFileCommands::LoadWorkClick() {
    if (st.Modified && !MayLetWorkGo(Msg::DiscardWorkAsk)) return;
    const QString file = ui.ChooseOpenFile(WorkFilter, QString(), QStringLiteral("vlm"));
    if (file.isEmpty()) return;
    if (LoadWorkFile(file)) wb.modes.SwitchMode(Mode::Input);
}

void WorkFileCommands::SpFileOpenClick() {
    // Opening from the tool bar replaces the work just as the menu does, so it
    // asks the same question before unsaved changes are let go.
    if (st.Modified && !MayLetWorkGo(Msg::DiscardWorkAsk)) return;
    const QString file =
        ui.ChooseOpenFile(msg::Text(Msg::FilterWorkOrIdt), QString(), QStringLiteral("vlm"));
    if (file.isEmpty()) return;
    const QString bare = QFileInfo(file).fileName();
    const qsizetype dot = bare.lastIndexOf(u'.');
    const QString ext = dot >= 0 ? bare.mid(dot).toUpper() : QString();
    bool ok = true;
    if (ext == QStringLiteral(".VLM"))
        ok = LoadWorkFile(file);
    else if (ext == QStringLiteral(".IDT"))
        ok = finishedMaps_.ReadFinishedMap(file);
    // A file that could not be read leaves the editor as it was, mode included.
    if (ok) wb.modes.SwitchMode(Mode::Input);
}

void WorkFileCommands::SpFileSaveClick() {
    SaveWorkClick();
    if (st.Completed &&
        ui.AskYesNo(msg::Text(Msg::SaveAsFinishedAsk), msg::Text(Msg::CapSaveFinished)))
        finishedMaps_.WriteMapClick();
}

void WorkFileCommands::SaveOverClick() {
    if (wb.sessionFiles.docFile_.isEmpty()) {
        SaveWorkClick();
        return;
    }
    const WorkNames names = WorkFileNames(wb.sessionFiles.docFile_);
    std::string picture;
    if (!PictureLine(names, &picture)) return;
    doc.NameWorkFile(names.work);
    SaveWorkPair(names, picture);
}
