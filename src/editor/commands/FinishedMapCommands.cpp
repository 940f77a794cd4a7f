#include "editor/commands/FinishedMapCommands.h"

#include <QFile>
#include <QFileInfo>

#include "base/Messages.h"
#include "editor/Report.h"
#include "editor/Services.h"
#include "editor/commands/WorkFileCommands.h"
#include "formats/IdtReader.h"
#include "formats/IdtWriter.h"
#include "raster/SurfaceBudget.h"
#include "text/ShiftJis.h"
#include "text/TextEntry.h"
#include "usecases/FinishedMaps.h"

void FinishedMapCommands::ReadMapClick() {
    if (st.Modified && !workFiles_.MayLetWorkGo(Msg::DiscardWorkAsk)) return;
    const QString path = ui.ChooseOpenFile(idt::FileFilter, st.IdtFileName, QStringLiteral("idt"));
    if (path.isEmpty()) return;
    if (ReadFinishedMap(path)) wb.modes.SwitchMode(Mode::Input);
}

bool FinishedMapCommands::ReadFinishedMap(const QString& chosen) {
    ui.SetBusy(true);
    usecase::FinishedMapRead read = usecase::ReadFinishedMap(chosen);
    const QString path = read.path;
    const QString caption = msg::Text(Msg::CapReadMap);
    if (!read.result.ok) {
        wb.canvas.RestoreCursor();
        usecase::Show(ui, read.result.message);
        return false;
    }
    // The surface will have to hold the map: a size far beyond the usual is
    // asked about before the current work is let go.
    const int w = read.extent.width(), h = read.extent.height();
    if ((w > surf.Width() || h > surf.Height()) &&
        !MayGrowSurface(ui, std::max(w, surf.Width()), std::max(h, surf.Height()), caption)) {
        wb.canvas.RestoreCursor();
        return false;
    }

    workFiles_.ResetWork();
    wb.canvas.ShowProgressBar();
    Store map = st;
    usecase::FinishedMapOpened opened =
        usecase::OpenFinishedMap(map, surf, std::move(read), [this] { progress.StepIt(); });
    doc.ReplaceMap(std::move(map));
    progress.SetPosition(0);
    progress.Hide();
    if (!opened.result.ok) {
        workFiles_.ResetWork();
        wb.canvas.RestoreCursor();
        usecase::Show(ui, opened.result.message);
        return false;
    }
    doc.BeginHistory();
    usecase::Show(ui, opened.segmentsNote);
    wb.states.EnableAreaPosCommands();
    wb.states.EnableRemakeCommands();
    usecase::Show(ui, opened.surfaceNote);
    if (opened.surfaceGrown) ui.SurfaceChanged();
    ui.SetScrollPos(QPoint(0, 0));
    ReDraw(wb);
    wb.canvas.RestoreCursor();
    usecase::Show(ui, opened.readNotes);
    wb.sessionFiles.NoteRecentFile(path);
    return true;
}

void FinishedMapCommands::WriteMapClick() {
    if (const usecase::Result ready = usecase::FinishedMapReady(st); !ready.ok) {
        usecase::Show(ui, ready.message);
        return;
    }
    if (!st.Completed && !ui.AskYesNo(msg::Text(Msg::ComposedYet), msg::Text(Msg::CapCaution)))
        return;
    const std::string titleBefore = st.MapTitle;
    QString path = ui.ChooseSaveFile(idt::FileFilter, st.IdtFileName, QStringLiteral("idt"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".idt");
    doc.NameFinishedMap(path);
    if (QFileInfo::exists(path) &&
        !ui.AskYesNo(msg::Format(Msg::FileExistsOverwrite, {path}), msg::Text(Msg::CapOverwrite))) {
        doc.NameFinishedMap(QString());
        return;
    }
    Store titled = st;
    TitleFields fields = usecase::FinishedMapFields(titled, path, QDateTime::currentDateTime());
    doc.ReplaceMap(std::move(titled));
    if (!ui.TitleDialog(fields)) return;
    ui.SetBusy(true);
    Store written = st;
    const usecase::Result r = usecase::WriteFinishedMap(written, path, fields, titleBefore);
    doc.ReplaceMap(std::move(written));
    wb.canvas.RestoreCursor();
    usecase::Show(ui, r.message);
    if (r.ok)
        ui.ShowStatus(msg::Format(Msg::StatusMapWritten, {path, QString::number(st.AreaCount)}));
}
