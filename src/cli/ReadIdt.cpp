// velmot-cli read-idt IN.idt -o OUT.vlm: a finished map back to a work file.
#include <QFileInfo>
#include <QJsonObject>
#include <cstdio>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "core/Messages.h"
#include "editor/usecases/WorkFiles.h"
#include "files/WorkFile.h"

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

    CliUi ui;
    Editor ed(ui);
    // The surface starts empty; reading grows it to the map's extent. A file
    // that is missing or cannot be parsed is unreadable input.
    if (!ed.ReadFinishedMap(in)) return ExitUsage;
    const usecase::Result saved = usecase::SaveWork(ed.st, WorkFileNames(out), ed.temps.picture);
    if (!saved.ok) {
        usecase::Show(ui, saved.message);
        Err(msg::Text(Msg::CliReadIdtNotWritten).arg(out));
        return ExitFailed;
    }
    if (cmd.Json()) {
        PrintJson({{"file", in},
                   {"areas", ed.st.AreaCount},
                   {"points", int(ed.st.PointLast + 1)},
                   {"kinds", int(ed.st.KindLast + 1)},
                   {"output", out}});
    } else {
        std::printf("%s: %d areas, %d point records, %d kind records -> %s\n",
                    in.toLocal8Bit().constData(), int(ed.st.AreaCount), int(ed.st.PointLast + 1),
                    int(ed.st.KindLast + 1), out.toLocal8Bit().constData());
    }
    return ExitOk;
}

}  // namespace cli
