// velmot-cli import and export: boundary data in, finished maps out.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <memory>

#include "base/Messages.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "files/WorkFile.h"
#include "usecases/ImportExport.h"

namespace cli {

int RunImport(const QStringList& args) {
    CommandArgs cmd("import", QStringLiteral("IN -o OUT.vlm [--name-field FIELD] [--size W,H]"),
                    QStringLiteral("Reads polygons from any format GDAL/OGR reads (GeoJSON, "
                                   "Shapefile, GeoPackage, ...) into a work file ready to "
                                   "compose; the transform is kept in OUT.vlm.json."));
    cmd.AddInput(QStringLiteral("IN"), QStringLiteral("The boundary data."));
    cmd.AddOutput(QStringLiteral("The work file to write."));
    const QCommandLineOption field(QStringLiteral("name-field"),
                                   QStringLiteral("The attribute holding the area names "
                                                  "(default: the first text attribute)."),
                                   QStringLiteral("FIELD"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("The pixel box the data is fitted into "
                                                 "(default 2560,1920)."),
                                  QStringLiteral("W,H"));
    cmd.Add(field);
    cmd.Add(size);
    cmd.AddForce();
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    if (cmd.Output().isEmpty()) return cmd.Usage(msg::Text(Msg::CliNeedsVlmOutput));
    gis::ImportOptions options;
    options.nameField = cmd.parser.value(field);
    if (cmd.parser.isSet(size)) {
        const QStringList wh = cmd.parser.value(size).split(u',');
        bool okW = false, okH = false;
        if (wh.size() == 2)
            options.width = wh[0].trimmed().toInt(&okW),
            options.height = wh[1].trimmed().toInt(&okH);
        if (!okW || !okH || options.width < 50 || options.height < 50 || options.width > 32767 ||
            options.height > 32767)
            return cmd.Usage(msg::Text(Msg::CliSizeForm));
    }
    const QString in = cmd.inputs[0];
    const QString out = WorkFileNames(cmd.Output()).work;
    if (!cmd.MayWrite(out)) return ExitUsage;
    if (!QFileInfo::exists(in)) {
        Err(msg::Text(Msg::CliImportMissing).arg(in));
        return ExitUsage;
    }

    const usecase::ImportOutcome imported = usecase::ImportBoundaries(in, out, options);
    const gis::ImportResult& r = imported.summary;
    if (imported.badInput) {
        Err(QStringLiteral("velmot-cli import: ") + imported.result.message.Text());
        return ExitUsage;
    }
    for (const QString& note : r.notes) Err(QStringLiteral("%1: %2").arg(in, note));
    if (!imported.result.ok) {
        Err(QStringLiteral("velmot-cli import: ") + imported.result.message.Text());
        return ExitFailed;
    }
    if (cmd.Json()) {
        PrintJson({{"file", in},
                   {"layer", r.layer},
                   {"nameField", r.nameField},
                   {"features", r.features},
                   {"areas", r.areas},
                   {"parts", r.parts},
                   {"positions", r.positions},
                   {"chains", r.chains},
                   {"points", r.points},
                   {"width", r.transform.width},
                   {"height", r.transform.height},
                   {"notes", QJsonArray::fromStringList(r.notes)},
                   {"output", out}});
    } else {
        Out(QStringLiteral("imported %1: %2 areas, %3 positions, %4 points -> %5")
                .arg(QFileInfo(in).fileName())
                .arg(r.areas)
                .arg(r.positions)
                .arg(r.points)
                .arg(out));
    }
    return ExitOk;
}

int RunExport(const QStringList& args) {
    CommandArgs cmd("export", QStringLiteral("WORK.vlm -o OUT.(geojson|shp|gpkg|svg|pdf|png)"),
                    QStringLiteral("Writes the composed outlines, composing first when the work "
                                   "is not composed. Coordinates are (x, -y) pixels, or "
                                   "ground coordinates when the work is georeferenced "
                                   "(WORK.vlm.json, from an import or georef)."));
    cmd.AddInput(QStringLiteral("WORK.vlm"), QStringLiteral("The work file to export."));
    cmd.AddOutput(QStringLiteral("The file to write; its extension picks the format."));
    cmd.AddForce();
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    const QString out = cmd.Output();
    if (out.isEmpty()) return cmd.Usage(msg::Text(Msg::CliNeedsOutput));
    if (const usecase::Result target = usecase::ExportTarget(out); !target.ok)
        return cmd.Usage(target.message.id == Msg::ExportExtensionBad
                             ? msg::Text(Msg::CliExportExtension).arg(out)
                             : target.message.Text());
    if (!cmd.MayWrite(out)) return ExitUsage;
    const QString work = cmd.inputs[0];

    auto session = std::make_unique<Session>();
    Session& s = *session;
    if (!s.Load(work)) return ExitUsage;
    if (!s.ed.st.Completed) {
        const size_t before = s.ui.messages.size();
        const usecase::ComposeOutcome composed = s.Compose();
        if (!composed.result.ok) {
            if (!s.PrintFailure(before, composed.result.message))
                Err(msg::Text(Msg::CliExportNotComposed).arg(work));
            return ExitFailed;
        }
    }
    const usecase::ExportOutcome exported = usecase::ExportMap(s.ed.st, work, out);
    if (!exported.result.ok) {
        Err(QStringLiteral("velmot-cli export: ") + exported.result.message.Text());
        return ExitFailed;
    }
    const gis::ExportResult& r = exported.summary;
    if (cmd.Json()) {
        PrintJson({{"file", work},
                   {"output", out},
                   {"features", r.features},
                   {"rings", r.rings},
                   {"sourceCoordinates", exported.sourceCoordinates}});
    } else {
        Out(QStringLiteral("exported %1: %2 areas, %3 outlines -> %4")
                .arg(QFileInfo(work).fileName())
                .arg(r.features)
                .arg(r.rings)
                .arg(out));
    }
    return ExitOk;
}

}  // namespace cli
