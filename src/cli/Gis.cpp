// velmot-cli import and export: boundary data in, finished maps out.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <memory>

#include "base/Messages.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "raster/SurfaceBudget.h"
#include "formats/WorkFormat.h"
#include "usecases/GeoReference.h"
#include "usecases/ImportExport.h"
#include "usecases/WorkFiles.h"

namespace cli {

int RunImport(const QStringList& args) {
    CommandArgs cmd("import",
                    QStringLiteral("IN -o OUT.vlm [--name-field FIELD] [--size W,H] [--layer NAME] "
                                   "[--encoding ENC] [--simplify PX]"),
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
    const QCommandLineOption layerOpt(
        QStringLiteral("layer"),
        QStringLiteral("The layer to read, for sources with several (default: the first "
                       "holding polygons)."),
        QStringLiteral("NAME"));
    const QCommandLineOption encodingOpt(
        QStringLiteral("encoding"),
        QStringLiteral("The text encoding of a Shapefile without a .cpg file, e.g. CP932."),
        QStringLiteral("ENC"));
    const QCommandLineOption simplifyOpt(
        QStringLiteral("simplify"),
        QStringLiteral("Simplify the boundaries to within PX pixels (0 to 50), each shared border "
                       "once, so that neighbours still meet (default 0: as read)."),
        QStringLiteral("PX"));
    cmd.Add(field);
    cmd.Add(size);
    cmd.Add(layerOpt);
    cmd.Add(encodingOpt);
    cmd.Add(simplifyOpt);
    cmd.AddForce();
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    if (cmd.Output().isEmpty()) return cmd.Usage(msg::Text(Msg::CliNeedsVlmOutput));
    gis::ImportOptions options;
    options.nameField = cmd.parser.value(field);
    options.layer = cmd.parser.value(layerOpt);
    options.encoding = cmd.parser.value(encodingOpt);
    options.maxBytes = CurrentSurfaceBudget().bytes;
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
    if (cmd.parser.isSet(simplifyOpt)) {
        bool ok = false;
        options.simplify = cmd.parser.value(simplifyOpt).toDouble(&ok);
        if (!ok || !(options.simplify >= 0 && options.simplify <= 50))
            return cmd.Usage(msg::Text(Msg::CliTraceOptionForm)
                                 .arg(QStringLiteral("--simplify"), cmd.parser.value(simplifyOpt)));
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
        if (r.overBudget) Err(msg::Text(Msg::CliRaiseMaxMemory));
        if (cmd.Json()) PrintJson({{"file", in}, {"output", out}, {"error", imported.result.message.Text()}});
        return ExitUsage;
    }
    for (const QString& note : r.notes) Err(QStringLiteral("%1: %2").arg(in, note));
    if (!imported.result.ok) {
        Err(QStringLiteral("velmot-cli import: ") + imported.result.message.Text());
        if (cmd.Json()) PrintJson({{"file", in}, {"output", out}, {"error", imported.result.message.Text()}});
        return ExitFailed;
    }
    if (cmd.Json()) {
        auto feature = [](const gis::ImportResult::FeatureRef& f) {
            return QJsonObject{{"fid", f.fid}, {"name", f.name}};
        };
        QJsonArray overlaps, shifted;
        for (const auto& o : r.overlaps)
            overlaps.append(QJsonObject{
                {"kind", o.kind}, {"first", feature(o.first)}, {"second", feature(o.second)}});
        for (const auto& f : r.shifted) shifted.append(feature(f));
        PrintJson({{"file", in},
                   {"layer", r.layer},
                   {"nameField", r.nameField},
                   {"features", r.features},
                   {"areas", r.areas},
                   {"parts", r.parts},
                   {"positions", r.positions},
                   {"chains", r.chains},
                   {"points", r.points},
                   {"pointsBeforeSimplify", r.pointsBeforeSimplify},
                   {"width", r.transform.width},
                   {"height", r.transform.height},
                   {"notes", QJsonArray::fromStringList(r.notes)},
                   {"overlaps", overlaps},
                   {"shifted", shifted},
                   {"output", out}});
    } else {
        const QString points = r.pointsBeforeSimplify > 0
                                   ? QStringLiteral("%1 points (%2 before simplifying)")
                                         .arg(r.points)
                                         .arg(r.pointsBeforeSimplify)
                                   : QStringLiteral("%1 points").arg(r.points);
        Out(QStringLiteral("imported %1: %2 areas, %3 positions, %4 -> %5")
                .arg(QFileInfo(in).fileName())
                .arg(r.areas)
                .arg(r.positions)
                .arg(points)
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
    const QString work = cmd.inputs[0];
    const usecase::Result beside = usecase::ExportBesideWork(out, work);
    if (!beside.ok) return cmd.Usage(beside.message.Text());
    if (!cmd.MayWrite(out)) return ExitUsage;
    // A Shapefile's side files are replaced with it: --force for any of them.
    for (const QString& side : gis::ExportSideFiles(out))
        if (QFileInfo::exists(side) && !cmd.MayWrite(side)) return ExitUsage;

    auto session = std::make_unique<Batch>();
    Batch& s = *session;
    // A composed map goes out to a GIS format from its records alone: the
    // surface, a byte for every pixel of the map, is needed only to compose.
    const auto format = gis::FormatForPath(out);
    const bool vector = format == gis::ExportFormat::GeoJson ||
                        format == gis::ExportFormat::Shapefile ||
                        format == gis::ExportFormat::GeoPackage;
    if (!(vector && s.LoadComposedRecords(work)) && !s.Load(work)) return ExitUsage;
    // A PNG is drawn whole in memory first: refused before the composition
    // when it would take more than allowed.
    if (const QSize image = usecase::ExportImageSize(s.st, out); image.isValid()) {
        const QString refusal =
            ImageRefusal(image.width(), image.height(), 4, Msg::ExportOverBudget);
        if (!refusal.isEmpty()) {
            Err(QStringLiteral("velmot-cli export: ") + refusal);
            Err(msg::Text(Msg::CliRaiseMaxMemory));
            if (cmd.Json()) PrintJson({{"file", work}, {"output", out}, {"error", refusal}});
            return ExitUsage;
        }
    }
    if (!s.st.Completed) {
        const size_t before = s.messages.size();
        const usecase::ComposeOutcome composed = s.Compose();
        if (!composed.result.ok) {
            if (!s.PrintFailure(before, composed.result.message))
                Err(msg::Text(Msg::CliExportNotComposed).arg(work));
            if (cmd.Json())
                PrintJson({{"file", work},
                           {"output", out},
                           {"error", composed.result.message.Text().isEmpty()
                                         ? msg::Text(Msg::CliExportNotComposed).arg(work)
                                         : composed.result.message.Text()}});
            return ExitFailed;
        }
    }
    const usecase::ExportOutcome exported = usecase::ExportMap(s.st, work, out);
    if (!exported.result.ok) {
        Err(QStringLiteral("velmot-cli export: ") + exported.result.message.Text());
        if (cmd.Json())
            PrintJson({{"file", work}, {"output", out}, {"error", exported.result.message.Text()}});
        return ExitFailed;
    }
    const gis::ExportResult& r = exported.summary;
    // Every area is either written or named here.
    for (const QString& name : r.withoutOutline)
        Err(QStringLiteral("%1: no outline, not exported: %2").arg(work, name));
    for (const QString& name : r.mended)
        Err(QStringLiteral("%1: outline touching itself, split as OGC requires: %2")
                .arg(work, name));
    if (cmd.Json()) {
        PrintJson({{"file", work},
                   {"output", out},
                   {"features", r.features},
                   {"rings", r.rings},
                   {"withoutOutline", QJsonArray::fromStringList(r.withoutOutline)},
                   {"mended", QJsonArray::fromStringList(r.mended)},
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

namespace {

QJsonArray Pair(double a, double b) {
    return QJsonArray{a, b};
}

QString Num(double v, int digits) {
    return std::isfinite(v) ? QString::number(v, 'f', digits) : QStringLiteral("-");
}

}  // namespace

int RunGeoref(const QStringList& args) {
    CommandArgs cmd(
        "georef",
        QStringLiteral("WORK.vlm --gcp PX,PY,X,Y ... --crs EPSG:N "
                       "[--transform affine|poly2|poly3|tps] [-o OUT.vlm] "
                       "[--off N] [--on N] [--move N,PX,PY] [--set N,PX,PY,X,Y]"),
        QStringLiteral("Puts the work on real coordinates by control points: a point PX,PY "
                       "of the map (its pixels) lies at X,Y (longitude first for a geographic "
                       "system). Prints each point's residual in pixels and map units, the RMS "
                       "and the leave-one-out error. Without -o, the georeference of WORK.vlm "
                       "is replaced (the work file itself is not rewritten). Without --gcp, the "
                       "control points stored with the work are taken (with its system and "
                       "transform unless --crs or --transform say otherwise), and --off, --on, "
                       "--move and --set change them; N counts from 1, as the table shows."));
    cmd.AddInput(QStringLiteral("WORK.vlm"), QStringLiteral("The work file."));
    cmd.AddOutput(QStringLiteral("Save the georeferenced work under this name."));
    const QCommandLineOption gcpOpt(QStringLiteral("gcp"),
                                    QStringLiteral("A control point (repeatable)."),
                                    QStringLiteral("PX,PY,X,Y"));
    const QCommandLineOption crsOpt(QStringLiteral("crs"),
                                    QStringLiteral("The coordinate system of X,Y."),
                                    QStringLiteral("EPSG:N"));
    const QCommandLineOption methodOpt(
        QStringLiteral("transform"),
        QStringLiteral("affine (default), poly2, poly3 or tps (thin plate spline)."),
        QStringLiteral("KIND"));
    const QCommandLineOption offOpt(
        QStringLiteral("off"),
        QStringLiteral("Leave point N out of the fit; it stays in the list (repeatable)."),
        QStringLiteral("N"));
    const QCommandLineOption onOpt(QStringLiteral("on"),
                                   QStringLiteral("Take point N into the fit again (repeatable)."),
                                   QStringLiteral("N"));
    const QCommandLineOption moveOpt(
        QStringLiteral("move"),
        QStringLiteral("Move point N to pixel PX,PY of the map, keeping its X,Y (repeatable)."),
        QStringLiteral("N,PX,PY"));
    const QCommandLineOption setOpt(
        QStringLiteral("set"),
        QStringLiteral("Give point N new pixel and real coordinates (repeatable)."),
        QStringLiteral("N,PX,PY,X,Y"));
    for (const auto* o : {&gcpOpt, &crsOpt, &methodOpt, &offOpt, &onOpt, &moveOpt, &setOpt})
        cmd.Add(*o);
    cmd.AddForce();
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    const QCommandLineParser& p = cmd.parser;

    // Comma-separated numbers, all finite.
    auto numbers = [](const QString& v, int count, std::vector<double>& n) {
        const QStringList f = v.split(u',');
        n.assign(size_t(count), 0);
        bool ok = f.size() == count;
        for (int i = 0; ok && i < count; ++i) {
            n[size_t(i)] = f[i].trimmed().toDouble(&ok);
            ok = ok && std::isfinite(n[size_t(i)]);
        }
        return ok;
    };
    georef::GeoRef geo;
    if (p.isSet(methodOpt) && !georef::MethodFromName(p.value(methodOpt), &geo.method))
        return cmd.Usage(QStringLiteral("--transform: affine, poly2, poly3 or tps"));
    for (const QString& v : p.values(gcpOpt)) {
        std::vector<double> n;
        if (!numbers(v, 4, n))
            return cmd.Usage(QStringLiteral("--gcp %1: PX,PY,X,Y (four numbers)").arg(v));
        geo.points.push_back({n[0], n[1], n[2], n[3], true});
    }
    const bool given = !geo.points.empty();
    geo.crs = p.value(crsOpt).trimmed();
    if (given && geo.crs.isEmpty()) return cmd.Usage(QStringLiteral("--crs is needed (EPSG:N)"));
    if (!geo.crs.isEmpty() && !usecase::CrsToWkt(geo.crs, &geo.wkt))
        return cmd.Usage(msg::Format(Msg::GeoRefCrsUnknown, {geo.crs}));

    const QString work = cmd.inputs[0];
    const QString out = cmd.Output().isEmpty() ? QString() : WorkFileNames(cmd.Output()).work;
    if (!out.isEmpty() && !cmd.MayWrite(out)) return ExitUsage;
    auto session = std::make_unique<Batch>();
    Batch& s = *session;
    if (!s.Load(work)) return ExitUsage;
    if (!out.isEmpty() && s.st.BasePicLoaded && !cmd.MayWrite(WorkFileNames(out).bitmap))
        return ExitUsage;

    if (!given) {
        // The points kept with the work, as the window left them.
        const georef::GeoRef& kept = s.st.Geo;
        if (kept.points.empty())
            return cmd.Usage(QStringLiteral("%1 has no control points: give them with --gcp")
                                 .arg(work));
        geo.points = kept.points;
        if (!p.isSet(methodOpt)) geo.method = kept.method;
        if (geo.crs.isEmpty()) geo.crs = kept.crs, geo.wkt = kept.wkt;
    }
    // Which point an option names, counted from 1.
    auto point = [&](const QString& option, const QString& v, int* index) {
        bool ok = false;
        const int n = v.trimmed().toInt(&ok);
        if (ok && n >= 1 && n <= int(geo.points.size())) {
            *index = n - 1;
            return true;
        }
        cmd.Usage(QStringLiteral("%1 %2: a point number from 1 to %3")
                      .arg(option, v)
                      .arg(geo.points.size()));
        return false;
    };
    for (const QString& v : p.values(setOpt)) {
        std::vector<double> n;
        int i = 0;
        if (!numbers(v, 5, n))
            return cmd.Usage(QStringLiteral("--set %1: N,PX,PY,X,Y (five numbers)").arg(v));
        if (!point(QStringLiteral("--set"), v.section(u',', 0, 0), &i)) return ExitUsage;
        georef::ControlPoint& c = geo.points[size_t(i)];
        c.px = n[1], c.py = n[2], c.x = n[3], c.y = n[4];
    }
    for (const QString& v : p.values(moveOpt)) {
        std::vector<double> n;
        int i = 0;
        if (!numbers(v, 3, n))
            return cmd.Usage(QStringLiteral("--move %1: N,PX,PY (three numbers)").arg(v));
        if (!point(QStringLiteral("--move"), v.section(u',', 0, 0), &i)) return ExitUsage;
        geo.points[size_t(i)].px = n[1], geo.points[size_t(i)].py = n[2];
    }
    std::vector<int> switched(geo.points.size(), 0);
    for (const auto& [option, on] : {std::pair{&offOpt, false}, std::pair{&onOpt, true}})
        for (const QString& v : p.values(*option)) {
            int i = 0;
            const QString name = QStringLiteral("--") + option->names().constFirst();
            if (!point(name, v, &i)) return ExitUsage;
            if (switched[size_t(i)] && geo.points[size_t(i)].enabled != on)
                return cmd.Usage(QStringLiteral("point %1 is both switched off and on").arg(i + 1));
            geo.points[size_t(i)].enabled = on;
            switched[size_t(i)] = 1;
        }

    const usecase::GeoRefFit fit =
        usecase::FitControlPoints(geo, QSize(s.st.MapWidth, s.st.MapHeight));
    for (const QString& w : fit.warnings) Err(QStringLiteral("%1: %2").arg(work, w));
    if (!fit.result.ok) {
        PrintMessage(fit.result.message);
        return ExitFailed;
    }
    Store placed = s.st;
    placed.Geo = fit.geo;
    const usecase::Result saved =
        out.isEmpty() ? usecase::SaveGeoRef(placed, WorkFileNames(work))
                      : usecase::SaveWork(placed, WorkFileNames(out), s.picture.Made());
    if (!saved.ok) {
        PrintMessage(saved.message);
        return ExitFailed;
    }
    if (cmd.Json()) {
        QJsonArray points;
        for (size_t i = 0; i < geo.points.size(); ++i) {
            const georef::ControlPoint& c = geo.points[i];
            const usecase::PointFit& f = fit.points[i];
            QJsonObject o{{"enabled", c.enabled},
                          {"pixel", Pair(c.px, c.py)},
                          {"map", Pair(c.x, c.y)},
                          {"residual", f.residual},
                          {"residualPixels",
                           std::isfinite(f.residualPx) ? QJsonValue(f.residualPx) : QJsonValue()},
                          {"delta", Pair(f.dx, f.dy)}};
            if (f.leftOut) {
                o["leaveOneOut"] = f.leaveOneOut;
                o["leaveOneOutPixels"] =
                    std::isfinite(f.leaveOneOutPx) ? QJsonValue(f.leaveOneOutPx) : QJsonValue();
            }
            points.append(o);
        }
        PrintJson({{"file", work},
                   {"crs", geo.crs},
                   {"transform", QLatin1String(georef::MethodName(geo.method))},
                   {"points", points},
                   {"rms", fit.rms},
                   {"rmsPixels", fit.rmsPx},
                   {"leaveOneOutRms", fit.leaveOneOutRms},
                   {"leaveOneOutRmsPixels", fit.leaveOneOutRmsPx},
                   {"warnings", QJsonArray::fromStringList(fit.warnings)},
                   {"written", QJsonArray::fromStringList(saved.written)}});
        return ExitOk;
    }
    Out(
        QStringLiteral("  #  pixel                 map                         residual px  "
                       "residual     leave-one-out px"));
    for (size_t i = 0; i < geo.points.size(); ++i) {
        const georef::ControlPoint& c = geo.points[i];
        const usecase::PointFit& f = fit.points[i];
        Out(QStringLiteral("%1  %2  %3  %4  %5  %6")
                .arg(i + 1, 3)
                .arg(QStringLiteral("%1,%2").arg(c.px).arg(c.py), -20)
                .arg(QStringLiteral("%1,%2").arg(c.x, 0, 'g', 12).arg(c.y, 0, 'g', 12), -26)
                .arg(Num(f.residualPx, 3), 11)
                .arg(QString::number(f.residual, 'g', 4), -11)
                .arg(!c.enabled  ? QStringLiteral("off")
                     : f.leftOut ? Num(f.leaveOneOutPx, 3)
                                 : QStringLiteral("-"),
                     16));
    }
    Out(QStringLiteral("RMS %1 px (%2), leave-one-out RMS %3 px (%4)")
            .arg(Num(fit.rmsPx, 3), QString::number(fit.rms, 'g', 4), Num(fit.leaveOneOutRmsPx, 3),
                 QString::number(fit.leaveOneOutRms, 'g', 4)));
    for (const QString& f : saved.written) Out(QStringLiteral("wrote %1").arg(f));
    return ExitOk;
}

}  // namespace cli
