// velmot-cli read-idt IN.idt -o OUT.vlm: a finished map back to a work file.
#include <QFileInfo>
#include <cstdio>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "core/Editor.h"

namespace cli {

int RunReadIdt(const QStringList& args) {
    QString in, out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "velmot-cli read-idt: -o needs a file name\n");
                return 2;
            }
            out = args[++i];
        } else if (a.startsWith('-') && a.size() > 1) {
            std::fprintf(stderr, "velmot-cli read-idt: unknown option '%s'\n",
                         a.toLocal8Bit().constData());
            return 2;
        } else if (in.isEmpty()) {
            in = a;
        } else {
            std::fprintf(stderr, "velmot-cli read-idt: more than one input file\n");
            return 2;
        }
    }
    if (in.isEmpty() || out.isEmpty()) {
        std::fprintf(stderr, "usage: velmot-cli read-idt IN.idt -o OUT.vlm\n");
        return 2;
    }

    CliUi ui;
    Editor ed(ui);
    // The surface starts empty; reading grows it to the map's extent.
    if (!ed.ReadFinishedMap(in)) return 1;
    ui.lastError.clear();
    ui.files.push_back(out);
    ed.SaveWorkClick();
    if (!ui.lastError.isEmpty() ||
        !QFileInfo::exists(ed.st.WorkFileName.isEmpty() ? out : ed.st.WorkFileName)) {
        std::fprintf(stderr, "velmot-cli read-idt: could not save %s\n",
                     out.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s: %d areas, %d point records, %d kind records -> %s\n",
                in.toLocal8Bit().constData(), int(ed.st.AreaCount), int(ed.st.PointLast + 1),
                int(ed.st.KindLast + 1), ed.st.WorkFileName.toLocal8Bit().constData());
    return 0;
}

}  // namespace cli
