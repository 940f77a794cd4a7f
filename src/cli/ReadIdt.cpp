// velmot-cli read-idt IN.idt -o OUT.vlm: a finished map back to a work file.
#include <QFileInfo>
#include <QJsonObject>
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "base/Messages.h"
#include "usecases/FinishedMaps.h"
#include "usecases/WorkFiles.h"
#include "formats/WorkFormat.h"

namespace cli {

int RunReadIdt(const QStringList& args) {
    CommandArgs cmd("read-idt", QStringLiteral("IN.idt -o OUT.vlm"),
                    QStringLiteral("Reads a finished map and saves it as a work file."));
    cmd.AddInput(QStringLiteral("IN.idt"), QStringLiteral("The finished map to read."));
    cmd.AddOutput(QStringLiteral("The work file to write."));
    cmd.AddForce();
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    if (cmd.Output().isEmpty()) return cmd.Usage(msg::Text(Msg::CliNeedsVlmOutput));
    const QString in = cmd.inputs[0];
    const QString out = WorkFileNames(cmd.Output()).work;
    if (!cmd.MayWrite(out)) return ExitUsage;

    // A fresh work and an empty surface, which reading grows to the map's
    // extent. A file that is missing or cannot be parsed is unreadable input.
    auto st = std::make_unique<Store>();
    Surface surf;
    usecase::FinishedMapRead read = usecase::ReadFinishedMap(in);
    if (!read.result.ok) {
        PrintMessage(read.result.message);
        return ExitUsage;
    }
    const usecase::Result room =
        usecase::SurfaceRoom(read.extent, QSize(surf.Width(), surf.Height()), Msg::CapReadMap);
    if (!room.ok) {
        PrintMessage(room.message);
        return ExitUsage;
    }
    const usecase::FinishedMapOpened opened = usecase::OpenFinishedMap(*st, surf, std::move(read));
    if (!opened.result.ok) {
        PrintMessage(opened.result.message);
        return ExitUsage;
    }
    for (const usecase::Message* m : {&opened.segmentsNote, &opened.surfaceNote, &opened.readNotes})
        PrintMessage(*m);
    // Without an under-drawing there is no picture file to copy.
    const usecase::Result saved = usecase::SaveWork(*st, WorkFileNames(out), QString());
    if (!saved.ok) {
        PrintMessage(saved.message);
        Err(msg::Text(Msg::CliReadIdtNotWritten).arg(out));
        return ExitFailed;
    }
    if (cmd.Json()) {
        PrintJson({{"file", in},
                   {"areas", st->AreaCount},
                   {"points", int(st->PointLast + 1)},
                   {"kinds", int(st->KindLast + 1)},
                   {"output", out}});
    } else {
        std::printf("%s: %d areas, %d point records, %d kind records -> %s\n",
                    in.toLocal8Bit().constData(), int(st->AreaCount), int(st->PointLast + 1),
                    int(st->KindLast + 1), out.toLocal8Bit().constData());
    }
    return ExitOk;
}

}  // namespace cli
