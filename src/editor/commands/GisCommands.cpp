#include "editor/commands/GisCommands.h"

#include <QFileInfo>

#include "base/Messages.h"
#include "editor/Editor.h"
#include "editor/Report.h"
#include "formats/WorkFormat.h"
#include "gis/SourceLook.h"
#include "raster/SurfaceBudget.h"
#include "usecases/ImportExport.h"

namespace gis {
bool EnsureComposed(Editor& ed) {
    if (ed.st.Completed) return true;
    ed.composer.ReMakeLineClick();
    return ed.st.Completed;
}

namespace {

// What was imported, and every feature or part left out or changed: all of
// them, however many, for the person to scroll through.
void ShowImportSummary(Ui& ui, const QString& source, const ImportResult& r) {
    QString headline = msg::Format(
        Msg::ImportSummary,
        {source, QString::number(r.areas), QString::number(r.features),
         QString::number(r.positions), QString::number(r.points), r.layer,
         r.nameField.isEmpty() ? msg::Text(Msg::WordNone) : r.nameField,
         QString::number(r.transform.width), QString::number(r.transform.height)});
    if (r.pointsBeforeSimplify > 0)
        headline += u'\n' + msg::Format(Msg::ImportSummarySimplified,
                                         {QString::number(r.pointsBeforeSimplify),
                                          QString::number(r.points)});
    ui.ShowStatus(headline.section(u'\n', 0, 0));
    headline += u'\n' + (r.notes.isEmpty()
                              ? msg::Text(Msg::ImportNothingDropped)
                              : msg::Format(Msg::ImportSummaryNotes, {QString::number(r.notes.size())}));
    ui.ShowReport(msg::Text(Msg::CapImportBoundaries), headline, r.notes);
}

}  // namespace

void ImportBoundariesCommand(Editor& ed) {
    Ui& ui = ed.ui;
    if (ed.st.Modified && !ed.files.MayLetWorkGo(Msg::DiscardWorkAsk)) return;
    const QString in = ui.ChooseOpenFile(msg::Text(Msg::FilterBoundaries), QString(), QString());
    if (in.isEmpty()) return;
    // The choices are made on what the source holds, before it is read whole.
    ImportFields fields;
    fields.width = ed.surf.Width();
    fields.height = ed.surf.Height();
    fields.refresh = [in](ImportFields& f) { LookAtSource(in, f); };
    fields.refresh(fields);
    if (!fields.error.isEmpty()) {
        ui.Inform(fields.error, msg::Text(Msg::CapImportBoundaries), MsgIcon::Error);
        return;
    }
    if (!ui.ImportDialog(fields)) return;
    const QFileInfo fi(in);
    const QString chosen =
        ui.ChooseSaveFile(msg::Text(Msg::FilterWork),
                          fi.absolutePath() + u'/' + fi.completeBaseName() + QStringLiteral(".vlm"),
                          QStringLiteral("vlm"));
    if (chosen.isEmpty()) return;
    const QString out = WorkFileNames(chosen).work;
    if (QFileInfo::exists(out) &&
        !ui.AskYesNo(out + msg::Text(Msg::ExistsOverwriteSuffix), msg::Text(Msg::CapOverwrite)))
        return;

    ImportOptions options;
    options.width = fields.width;
    options.height = fields.height;
    options.layer = fields.layer;
    options.nameField = fields.nameField;
    options.encoding = fields.encoding;
    options.simplify = fields.simplify;
    // The same budget as the surface's: a source that would take more is
    // asked about as soon as its vertices tell, before anything is built.
    options.maxBytes = CurrentSurfaceBudget().bytes;
    ui.SetBusy(true);
    usecase::ImportOutcome r = usecase::ImportBoundaries(in, out, options);
    ui.SetBusy(false);
    if (r.summary.overBudget && CurrentSurfaceBudget().ask) {
        const QString question = msg::Format(
            Msg::ImportBudgetAsk, {QString::number(r.summary.vertices),
                                   QString::number((r.summary.neededBytes + (1 << 20) - 1) >> 20),
                                   QString::number(options.maxBytes >> 20)});
        if (!ui.AskYesNo(question, msg::Text(Msg::CapImportBoundaries))) return;
        options.maxBytes = 0;
        ui.SetBusy(true);
        r = usecase::ImportBoundaries(in, out, options);
        ui.SetBusy(false);
    }
    if (!r.result.ok) {
        usecase::Show(ui, r.result.message);
        return;
    }
    if (!ed.files.LoadWorkFile(out, false)) return;
    ed.modeCommands.BuildModeClick();
    ShowImportSummary(ui, fi.fileName(), r.summary);
}

void ExportMapCommand(Editor& ed) {
    Ui& ui = ed.ui;
    const QString base =
        ed.st.WorkFileName.isEmpty() ? QString() : QFileInfo(ed.st.WorkFileName).completeBaseName();
    const QString out = ui.ChooseSaveFile(
        QStringLiteral("GeoJSON(*.geojson)|*.geojson|Shapefile(*.shp)|*.shp|"
                       "GeoPackage(*.gpkg)|*.gpkg|SVG(*.svg)|*.svg|PDF(*.pdf)|*.pdf|"
                       "PNG(*.png)|*.png"),
        base, QStringLiteral("geojson"));
    if (out.isEmpty()) return;
    if (const usecase::Result target = usecase::ExportTarget(out); !target.ok) {
        usecase::Show(ui, target.message);
        return;
    }
    if (QFileInfo::exists(out) &&
        !ui.AskYesNo(out + msg::Text(Msg::ExistsOverwriteSuffix), msg::Text(Msg::CapOverwrite)))
        return;
    // A PNG is drawn whole in memory first.
    if (const QSize image = usecase::ExportImageSize(ed.st, out);
        image.isValid() && !MayTakeImage(ui, image.width(), image.height(), 4, Msg::ExportBudgetAsk,
                                         Msg::ExportOverBudget, msg::Text(Msg::CapExport)))
        return;
    if (!EnsureComposed(ed)) return;
    ui.SetBusy(true);
    const usecase::ExportOutcome r = usecase::ExportMap(ed.st, ed.st.WorkFileName, out);
    ui.SetBusy(false);
    usecase::Show(ui, r.result.message);
    if (r.result.ok) ui.ShowStatus(msg::Format(Msg::StatusExported, {out}));
}

}  // namespace gis
