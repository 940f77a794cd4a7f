#include "gis/GisCommands.h"

#include <QFileInfo>
#include <memory>

#include "core/Editor.h"
#include "core/Messages.h"
#include "files/WorkFile.h"
#include "gis/BoundaryImport.h"
#include "gis/MapExport.h"

namespace gis {
namespace {

const QString kImportCaption = msg::Text(Msg::CapImportBoundaries);
const QString kExportCaption = msg::Text(Msg::CapExport);
constexpr int kMaxNotesShown = 20;

QString NotesText(const QStringList& notes) {
    QStringList shown = notes.mid(0, kMaxNotesShown);
    if (notes.size() > kMaxNotesShown)
        shown << msg::Text(Msg::AndMore).arg(notes.size() - kMaxNotesShown);
    return shown.join(u'\n');
}

}  // namespace

bool EnsureComposed(Editor& ed) {
    if (ed.st.Completed) return true;
    ed.ReMakeLineClick();
    return ed.st.Completed;
}

void ImportBoundariesCommand(Editor& ed) {
    Ui& ui = ed.ui;
    if (ed.st.Modified && !ui.AskYesNo(msg::Text(Msg::DiscardWorkAsk), msg::Text(Msg::CapConfirm)))
        return;
    const QString in = ui.ChooseOpenFile(msg::Text(Msg::FilterBoundaries), QString(), QString());
    if (in.isEmpty()) return;
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
    options.width = ed.surf.Width();
    options.height = ed.surf.Height();
    auto st = std::make_unique<Store>();
    ImportResult r;
    QString error;
    ui.SetBusy(true);
    const bool ok =
        ImportBoundaries(in, options, *st, r) && WriteImportedWork(out, *st, r.transform, &error);
    ui.SetBusy(false);
    if (!ok) {
        ui.Inform(r.error.isEmpty() ? error : r.error, kImportCaption, MsgIcon::Error);
        return;
    }
    st.reset();
    if (!ed.LoadWorkFile(out)) return;
    ed.BuildModeClick();
    if (!r.notes.isEmpty()) ui.Inform(NotesText(r.notes), kImportCaption, MsgIcon::Warning);
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
    const auto format = FormatForPath(out);
    if (!format) {
        ui.Inform(msg::Text(Msg::ExportExtensionBad).arg(out), kExportCaption, MsgIcon::Error);
        return;
    }
    if (QFileInfo::exists(out) &&
        !ui.AskYesNo(out + msg::Text(Msg::ExistsOverwriteSuffix), msg::Text(Msg::CapOverwrite)))
        return;
    if (!EnsureComposed(ed)) return;
    MapTransform transform;
    const bool hasTransform = !ed.st.WorkFileName.isEmpty() &&
                              LoadTransform(TransformPathFor(ed.st.WorkFileName), transform);
    ExportResult r;
    ui.SetBusy(true);
    const bool ok = ExportMap(ed.st, hasTransform ? &transform : nullptr, out, *format, r);
    ui.SetBusy(false);
    if (!ok) ui.Inform(r.error, kExportCaption, MsgIcon::Error);
}

}  // namespace gis
