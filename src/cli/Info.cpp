// velmot-cli info FILE: what a work file or a finished map holds, without
// loading it into an editor.
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <algorithm>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "base/Messages.h"
#include "formats/IdtReader.h"
#include "formats/WorkFormat.h"
#include "text/ShiftJis.h"

namespace cli {
namespace {

struct Summary {
    QString kind, title;
    int width = 0, height = 0;
    int areas = 0, positions = 0, points = 0, kinds = 0;
    bool composed = false;
};

void Extent(const std::vector<Rec>& points, int& w, int& h) {
    for (Rec r : points)
        if (r.x > 0) w = std::max(w, int(r.x) + 1), h = std::max(h, int(r.y) + 1);
}

bool ReadVlm(const QString& path, Summary& s, QString& error) {
    WorkData d;
    if (!ReadWorkFile(path, d, &error)) return false;
    s.kind = QStringLiteral("work");
    s.title = sjis::ToUnicode(d.title);
    s.width = d.mapWidth, s.height = d.mapHeight;
    Extent(d.points, s.width, s.height);
    s.areas = int(d.names.size());
    // The positions the composition traces: slots up to the first empty one.
    for (const auto& pos : d.positions)
        for (int k = 0; k < Store::Slots - 1 && pos[size_t(k)].x > 0; ++k) ++s.positions;
    s.points = int(d.points.size());
    s.kinds = int(d.kinds.size());
    s.composed = d.completed;
    return true;
}

bool ReadIdtSummary(const QString& path, Summary& s, QString& error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = msg::Text(Msg::CliInfoNotOpened).arg(path, f.errorString());
        return false;
    }
    idt::IdtContent c;
    if (!idt::ParseIdt(f, c, error)) {
        error = msg::Text(Msg::CliInfoUnreadable).arg(path, error);
        return false;
    }
    s.kind = QStringLiteral("finished");
    s.title = sjis::ToUnicode(c.title);
    Extent(c.points, s.width, s.height);
    s.areas = int(c.areas.size());
    for (const auto& a : c.areas) s.positions += int(a.pos.size());
    s.points = int(c.points.size());
    s.kinds = int(c.kinds.size());
    s.composed = true;  // a finished map holds composed outlines only
    return true;
}

}  // namespace

int RunInfo(const QStringList& args) {
    CommandArgs cmd("info", QStringLiteral("FILE.vlm|FILE.idt [--json]"),
                    QStringLiteral("Prints the size, areas, positions, points and whether the "
                                   "map is composed."));
    cmd.AddInput(QStringLiteral("FILE"), QStringLiteral("A work file or a finished map."));
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    const QString path = cmd.inputs[0];
    if (!QFileInfo(path).isFile()) {
        Err(msg::Text(Msg::CliInfoMissing).arg(path));
        return ExitUsage;
    }
    Summary s;
    QString error;
    const bool isIdt =
        QFileInfo(path).suffix().compare(QLatin1String("idt"), Qt::CaseInsensitive) == 0;
    if (!(isIdt ? ReadIdtSummary(path, s, error) : ReadVlm(path, s, error))) {
        Err(QStringLiteral("velmot-cli info: ") + error);
        return ExitUsage;
    }
    if (cmd.Json()) {
        PrintJson({{"file", path},
                   {"kind", s.kind},
                   {"title", s.title},
                   {"width", s.width},
                   {"height", s.height},
                   {"areas", s.areas},
                   {"positions", s.positions},
                   {"points", s.points},
                   {"kinds", s.kinds},
                   {"composed", s.composed}});
    } else {
        Out(QStringLiteral("%1: %2\n  title: %3\n  size: %4 x %5\n  areas: %6\n  positions: %7\n"
                           "  points: %8\n  kinds: %9\n  composed: %10")
                .arg(path,
                     s.kind == QLatin1String("work") ? QStringLiteral("work file")
                                                     : QStringLiteral("finished map"),
                     s.title)
                .arg(s.width)
                .arg(s.height)
                .arg(s.areas)
                .arg(s.positions)
                .arg(s.points)
                .arg(s.kinds)
                .arg(s.composed ? QStringLiteral("yes") : QStringLiteral("no")));
    }
    return ExitOk;
}

}  // namespace cli
