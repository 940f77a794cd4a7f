// velmot-cli clean WORK.vlm -o OUT.vlm: the network mended where hand tracing
// left it open or crossed, each repair reported with its place.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include "base/Messages.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "formats/WorkFormat.h"
#include "usecases/CleanMap.h"
#include "usecases/WorkFiles.h"

namespace cli {

int RunClean(const QStringList& args) {
    CommandArgs cmd("clean", QStringLiteral("WORK.vlm -o OUT.vlm [--snap PX] [--dangle PX]"),
                    QStringLiteral("Mends the network: puts a point where lines cross without "
                                   "one, joins line ends that stop short of a line or point, "
                                   "cuts ends that run just past a line, removes short dead "
                                   "ends and segments traced twice."));
    cmd.AddInput(QStringLiteral("WORK.vlm"), QStringLiteral("The work file to mend."));
    cmd.AddOutput(QStringLiteral("The mended work file."));
    const QCommandLineOption snapOpt(
        QStringLiteral("snap"),
        QStringLiteral("How far (px) a line end may stop short of or run past a line (default 3)."),
        QStringLiteral("PX"), QStringLiteral("3"));
    const QCommandLineOption dangleOpt(
        QStringLiteral("dangle"),
        QStringLiteral("Remove dead ends shorter than this (px; default 0: none)."),
        QStringLiteral("PX"), QStringLiteral("0"));
    cmd.Add(snapOpt);
    cmd.Add(dangleOpt);
    cmd.AddForce();
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    if (cmd.Output().isEmpty()) return cmd.Usage(msg::Text(Msg::CliNeedsVlmOutput));
    compose::RepairOptions options;
    bool okSnap = false, okDangle = false;
    options.snap = cmd.parser.value(snapOpt).toInt(&okSnap);
    options.dangle = cmd.parser.value(dangleOpt).toInt(&okDangle);
    if (!okSnap || options.snap < 0 || options.snap > 1000)
        return cmd.Usage(msg::Text(Msg::CliSnapForm));
    if (!okDangle || options.dangle < 0 || options.dangle > 100000)
        return cmd.Usage(msg::Text(Msg::CliDangleForm));
    const QString work = cmd.inputs[0];
    const QString out = WorkFileNames(cmd.Output()).work;
    if (!cmd.MayWrite(out)) return ExitUsage;

    PictureFolder picture;
    Store st;
    Surface surf;
    if (!LoadWork(work, picture, st, surf)) return ExitUsage;
    if (st.BasePicLoaded && !cmd.MayWrite(WorkFileNames(out).bitmap)) return ExitUsage;

    const usecase::CleanOutcome cleaned = usecase::CleanNetwork(st, options);
    if (!cleaned.result.ok && cleaned.result.message.id == Msg::RepairTooMany) {
        PrintMessage(cleaned.result.message);
        Err(msg::Text(Msg::CliNotWritten).arg(out));
        return ExitFailed;
    }
    // Nothing to mend still writes the work, so that a script always finds it.
    const usecase::Result saved = usecase::SaveWork(st, WorkFileNames(out), picture.Made());
    if (!saved.ok) {
        PrintMessage(saved.message);
        Err(msg::Text(Msg::CliNotWritten).arg(out));
        return ExitFailed;
    }
    auto at = [](compose::Pt p) { return QStringLiteral("(%1,%2)").arg(p.x).arg(p.y); };
    QJsonArray list;
    int made = 0, kept = 0;
    for (const compose::Repair& r : cleaned.repairs) {
        (r.kind == compose::RepairKind::CrossingKept ? kept : made) += 1;
        QJsonArray points;
        QStringList shown;
        for (compose::Pt p : r.points) {
            points.append(QJsonArray{p.x, p.y});
            shown += at(p);
        }
        if (cmd.Json())
            list.append(QJsonObject{{"kind", QLatin1String(compose::RepairKey(r.kind))},
                                    {"place", QJsonArray{r.place.x, r.place.y}},
                                    {"points", points}});
        else
            Out(QStringLiteral("%1\t%2\t%3")
                    .arg(QLatin1String(compose::RepairKey(r.kind)), at(r.place),
                         shown.join(u' ')));
    }
    if (cmd.Json()) {
        PrintJson({{"file", QFileInfo(work).fileName()},
                   {"repaired", made},
                   {"kept", kept},
                   {"repairs", list},
                   {"output", out}});
    } else {
        Out(QStringLiteral("cleaned %1: %2 repairs, %3 crossings left as they were")
                .arg(QFileInfo(work).fileName())
                .arg(made)
                .arg(kept));
        for (const QString& f : saved.written) Out(QStringLiteral("wrote %1").arg(f));
    }
    return ExitOk;
}

}  // namespace cli
