// velmot-cli trace SCAN -o OUT.vlm: a scanned map's boundaries read off the
// scan into a work file, with the scan as its under-drawing.
#include "usecases/Trace.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>

#include "base/Messages.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "formats/WorkFormat.h"
#include "raster/PictureFile.h"
#include "usecases/WorkFiles.h"
#include "raster/SurfaceBudget.h"

namespace cli {

namespace {

QStringList DoubtKeys(uint8_t d) {
    QStringList a;
    if (d & trace::Bridged) a << QStringLiteral("bridged");
    if (d & trace::OtherInk) a << QStringLiteral("other-ink");
    if (d & trace::Lettering) a << QStringLiteral("lettering");
    if (d & trace::SmallRegion) a << QStringLiteral("small-region");
    return a;
}

}  // namespace

int RunTrace(const QStringList& args) {
    CommandArgs cmd("trace", QStringLiteral("SCAN -o OUT.vlm"),
                    QStringLiteral("Reads the boundaries off a scanned map into a work file whose "
                                   "under-drawing is the scan. Without options it chooses the ink, "
                                   "its threshold and the gap radius itself."));
    cmd.AddInput(
        QStringLiteral("SCAN"),
        QStringLiteral("The scan: BMP, PNG, JPEG, TIFF, WebP or the first page of a PDF."));
    cmd.AddOutput(QStringLiteral("The work file to write (its bitmap goes beside it)."));
    cmd.Add({QStringLiteral("gap"),
             QStringLiteral("Gaps in the lines up to twice this radius are closed, in pixels "
                            "(0-%1; chosen where the region count levels off unless given).")
                 .arg(trace::kMaxGap),
             QStringLiteral("PX")});
    cmd.Add({QStringLiteral("min-area"),
             QStringLiteral("Smaller regions join their neighbour, in pixels (chosen from the "
                            "stroke width unless given)."),
             QStringLiteral("PX")});
    cmd.Add({QStringLiteral("ink"),
             QStringLiteral("The colour of the boundary lines (dark ink unless given)."),
             QStringLiteral("R,G,B")});
    cmd.Add({QStringLiteral("simplify"),
             QStringLiteral("How far a simplified edge may stray from the traced one, in pixels "
                            "(1 unless given; 0 keeps every corner)."),
             QStringLiteral("PX")});
    cmd.Add(
        {QStringLiteral("positions"),
         QStringLiteral("Add an area position in every enclosed region, named by its number.")});
    cmd.AddForce();
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    if (cmd.Output().isEmpty()) return cmd.Usage(msg::Text(Msg::CliNeedsVlmOutput));
    const QString in = cmd.inputs[0];
    const WorkNames names = WorkFileNames(cmd.Output());

    usecase::TraceSettings settings;
    auto badValue = [&](const char* option) {
        const QString o = QString::fromLatin1(option);
        return cmd.Usage(
            msg::Text(Msg::CliTraceOptionForm).arg(QStringLiteral("--") + o, cmd.parser.value(o)));
    };
    bool ok = true;
    if (cmd.parser.isSet(QStringLiteral("gap"))) {
        settings.gap = cmd.parser.value(QStringLiteral("gap")).toInt(&ok);
        if (!ok || settings.gap < 0 || settings.gap > trace::kMaxGap) return badValue("gap");
    }
    if (cmd.parser.isSet(QStringLiteral("min-area"))) {
        settings.minArea = cmd.parser.value(QStringLiteral("min-area")).toInt(&ok);
        if (!ok || settings.minArea < 1) return badValue("min-area");
    }
    if (cmd.parser.isSet(QStringLiteral("simplify"))) {
        settings.simplify = cmd.parser.value(QStringLiteral("simplify")).toDouble(&ok);
        if (!ok || !(settings.simplify >= 0 && settings.simplify <= 20))
            return badValue("simplify");
    }
    if (cmd.parser.isSet(QStringLiteral("ink"))) {
        const QStringList rgb = cmd.parser.value(QStringLiteral("ink")).split(u',');
        int c[3] = {0, 0, 0};
        for (int i = 0; i < 3 && rgb.size() == 3; ++i) {
            c[i] = rgb[i].trimmed().toInt(&ok);
            if (!ok || c[i] < 0 || c[i] > 255) break;
        }
        if (rgb.size() != 3 || !ok || c[0] < 0 || c[1] < 0 || c[2] < 0 || c[0] > 255 ||
            c[1] > 255 || c[2] > 255)
            return badValue("ink");
        settings.ink = qRgb(c[0], c[1], c[2]);
    }
    if (!cmd.MayWrite(names.work)) return ExitUsage;

    QElapsedTimer timer;
    timer.start();
    // A file of a few hundred bytes can declare a picture of gigabytes (a
    // PDF by its page size): refused before anything is decoded.
    int depth = 0;
    if (const QSize declared = DeclaredPictureSize(in, &depth); declared.isValid()) {
        const QString refusal =
            ImageRefusal(declared.width(), declared.height(), std::max(depth, 1), Msg::SurfaceOverBudget);
        if (!refusal.isEmpty()) {
            Err(msg::Text(Msg::CapAutoTrace) + QStringLiteral(": ") + refusal);
            Err(msg::Text(Msg::CliRaiseMaxMemory));
            return ExitUsage;
        }
    }
    QString error;
    const QImage scan = ReadPictureFile(in, &error);
    if (scan.isNull()) {
        Err(error);
        return ExitUsage;
    }
    // The scan becomes the under-drawing, so the surface must hold it.
    const QString refusal = SurfaceRefusal(scan.width(), scan.height());
    if (!refusal.isEmpty()) {
        Err(msg::Text(Msg::CapAutoTrace) + QStringLiteral(": ") + refusal);
        Err(msg::Text(Msg::CliRaiseMaxMemory));
        return ExitUsage;
    }
    const bool positions = cmd.parser.isSet(QStringLiteral("positions"));
    const QString name = QFileInfo(in).fileName();
    const usecase::TraceOutcome traced = usecase::TraceScan(scan, name, settings);
    if (!traced.result.ok) {
        PrintMessage(traced.result.message);
        Err(msg::Text(Msg::TraceNothingWritten));
        return ExitFailed;
    }
    Store st;
    const usecase::Result added = usecase::AddTracedNetwork(st, traced.net, positions);
    if (!added.ok) {
        PrintMessage(added.message);
        Err(msg::Text(Msg::TraceNothingWritten));
        return ExitFailed;
    }
    PrintMessage(added.message);
    st.MapWidth = int16_t(scan.width());
    st.MapHeight = int16_t(scan.height());
    st.BasePicLoaded = st.BasePicShown = true;
    const QTemporaryDir tmp;
    const QString picture = tmp.filePath(QStringLiteral("picture.bmp"));
    if (!usecase::StoreTracedPicture(scan, picture, &error)) {
        Err(error);
        Err(msg::Text(Msg::TraceNothingWritten));
        return ExitFailed;
    }
    const usecase::Result saved = usecase::SaveWork(st, names, picture);
    if (!saved.ok) {
        PrintMessage(saved.message);
        Err(msg::Text(Msg::CliNotWritten).arg(names.work));
        return ExitFailed;
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const trace::Network& net = traced.net;
    if (cmd.Json()) {
        QJsonArray doubts;
        for (const usecase::TraceDoubt& d : traced.doubts)
            doubts.append(
                QJsonObject{{"edge", d.edge},
                            {"kinds", QJsonArray::fromStringList(DoubtKeys(d.doubts))},
                            {"at", QJsonArray{d.at.x(), d.at.y()}},
                            {"ink", std::round(net.edges[size_t(d.edge)].inkShare * 100) / 100}});
        PrintJson({{"file", name},
                   {"output", names.work},
                   {"width", scan.width()},
                   {"height", scan.height()},
                   {"regions", traced.enclosed},
                   {"chains", traced.chains},
                   {"points", traced.points},
                   {"positions", positions ? st.AreaCount : 0},
                   {"gap", net.gap},
                   {"minArea", net.minArea},
                   {"threshold", traced.threshold},
                   {"lineWidth", traced.lineWidth},
                   {"doubtful", doubts},
                   {"seconds", std::round(seconds * 1000) / 1000}});
    } else {
        Out(QStringLiteral(
                "traced %1: %2 regions, %3 chains, %4 points; gap radius %5 px, smallest "
                "region %6 px, ink threshold %7; %8 doubtful edges in %9 s")
                .arg(name)
                .arg(traced.enclosed)
                .arg(traced.chains)
                .arg(traced.points)
                .arg(net.gap)
                .arg(net.minArea)
                .arg(traced.threshold)
                .arg(traced.doubts.size())
                .arg(seconds, 0, 'f', 2));
        for (const usecase::TraceDoubt& d : traced.doubts)
            Out(QStringLiteral("doubtful\t%1\t(%2,%3)\t%4")
                    .arg(d.edge)
                    .arg(d.at.x())
                    .arg(d.at.y())
                    .arg(DoubtKeys(d.doubts).join(u',')));
        for (const QString& f : saved.written) Out(QStringLiteral("wrote %1").arg(f));
    }
    return ExitOk;
}

}  // namespace cli
