// velmot-cli compose and check: the final boundary composition of a work file
// without the window, and a survey of every area position.
#include <unistd.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QPoint>
#include <QRegularExpression>
#include <cstdio>
#include <memory>
#include <optional>

#include "base/Messages.h"
#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "compose/Composer.h"
#include "formats/IdtWriter.h"
#include "formats/WorkFormat.h"
#include "text/ShiftJis.h"
#include "usecases/CheckPositions.h"
#include "usecases/FinishedMaps.h"
#include "usecases/WorkFiles.h"

namespace cli {

int RunCompose(const QStringList& args) {
    CommandArgs cmd("compose", QStringLiteral("WORK.vlm [-o OUT.vlm] [--idt OUT.idt ...]"),
                    QStringLiteral("Runs the final boundary composition and writes the composed "
                                   "work file and/or the finished map."));
    cmd.AddInput(QStringLiteral("WORK.vlm"), QStringLiteral("The work file to compose."));
    cmd.AddOutput(QStringLiteral("Write the composed work file."));
    const QCommandLineOption idtOpt(QStringLiteral("idt"),
                                    QStringLiteral("Write the finished map."),
                                    QStringLiteral("OUT.idt"));
    const QCommandLineOption titleOpt(
        QStringLiteral("title"), QStringLiteral("The finished map's title."), QStringLiteral("T"));
    const QCommandLineOption timeOpt(QStringLiteral("time"),
                                     QStringLiteral("The time stamp, \"YYYY/MM/DD hh:mm:ss\"."),
                                     QStringLiteral("time"));
    const QCommandLineOption resOpt(QStringLiteral("resolution"),
                                    QStringLiteral("The screen resolution, X,Y."),
                                    QStringLiteral("X,Y"));
    const QCommandLineOption magOpt(QStringLiteral("magnification"),
                                    QStringLiteral("The magnification."), QStringLiteral("M"));
    const QCommandLineOption remarkOpt(QStringLiteral("remark"),
                                       QStringLiteral("A remark line (repeatable, at most 20)."),
                                       QStringLiteral("TEXT"));
    const QCommandLineOption legendOpt(
        QStringLiteral("legend"),
        QStringLiteral("Place the legend at X,Y (pixels) before writing, as the window's legend "
                       "command does (a traced work has none, and a finished map needs one)."),
        QStringLiteral("X,Y"));
    for (const auto* o : {&idtOpt, &titleOpt, &timeOpt, &resOpt, &magOpt, &remarkOpt, &legendOpt})
        cmd.Add(*o);
    cmd.AddForce();
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    const QCommandLineParser& p = cmd.parser;

    const QString work = cmd.inputs[0];
    const QString out = cmd.Output().isEmpty() ? QString() : WorkFileNames(cmd.Output()).work;
    // A finished map named without an extension is written as .idt, as the
    // window writes it.
    QString idt = p.value(idtOpt);
    if (!idt.isEmpty() && QFileInfo(idt).suffix().isEmpty()) idt += QStringLiteral(".idt");
    const bool json = cmd.Json();
    if (out.isEmpty() && idt.isEmpty()) return cmd.Usage(msg::Text(Msg::CliComposeNeedsOutput));
    const bool fields = p.isSet(titleOpt) || p.isSet(timeOpt) || p.isSet(resOpt) ||
                        p.isSet(magOpt) || p.isSet(remarkOpt);
    if (idt.isEmpty() && fields) return cmd.Usage(msg::Text(Msg::CliFieldsNeedIdt));
    // The dialog's fields, checked before any work is done.
    QStringList date, clock, res;
    if (p.isSet(timeOpt)) {
        const auto m =
            QRegularExpression(
                QStringLiteral(
                    "^(\\d{1,4})/(\\d{1,2})/(\\d{1,2}) (\\d{1,2}):(\\d{1,2}):(\\d{1,2})$"))
                .match(p.value(timeOpt));
        if (!m.hasMatch()) return cmd.Usage(msg::Text(Msg::CliTimeForm));
        date = {m.captured(1), m.captured(2), m.captured(3)};
        clock = {m.captured(4), m.captured(5), m.captured(6)};
        // A time that has the form but cannot be (month 13, 25 o'clock) is
        // bad usage too, found with the dialog's own check.
        TitleFields t;
        t.year = date[0], t.month = date[1], t.day = date[2];
        t.hour = clock[0], t.minute = clock[1], t.second = clock[2];
        t.resX = t.resY = QStringLiteral("0");
        idt::WriteValues v;
        const QString bad = idt::ReadTitleFields(t, v);
        if (!bad.isEmpty()) return cmd.Usage(bad);
    }
    if (p.isSet(resOpt)) {
        res = p.value(resOpt).split(u',');
        bool okX = false, okY = false;
        if (res.size() == 2) res[0].trimmed().toInt(&okX), res[1].trimmed().toInt(&okY);
        if (!okX || !okY) return cmd.Usage(msg::Text(Msg::CliResolutionForm));
    }
    if (p.isSet(magOpt)) {
        bool ok = false;
        p.value(magOpt).toDouble(&ok);
        if (!ok) return cmd.Usage(msg::Text(Msg::CliMagnificationForm));
    }
    std::optional<QPoint> legend;
    if (p.isSet(legendOpt)) {
        const QStringList xy = p.value(legendOpt).split(u',');
        bool okX = false, okY = false;
        int x = 0, y = 0;
        if (xy.size() == 2) x = xy[0].trimmed().toInt(&okX), y = xy[1].trimmed().toInt(&okY);
        if (!okX || !okY || x < 0 || y < 0 || x > 32767 || y > 32767)
            return cmd.Usage(msg::Text(Msg::CliTraceOptionForm)
                                 .arg(QStringLiteral("--legend"), p.value(legendOpt)));
        legend = QPoint(x, y);
    }
    const QStringList remarks = p.values(remarkOpt);
    if (remarks.size() > Store::MaxComments) return cmd.Usage(msg::Text(Msg::CliTooManyRemarks));
    if (!out.isEmpty() && !cmd.MayWrite(out)) return ExitUsage;
    if (!idt.isEmpty() && !cmd.MayWrite(idt)) return ExitUsage;

    auto session = std::make_unique<Batch>();
    Batch& s = *session;
    s.progressOnStderr = !json && isatty(fileno(stderr));
    if (!s.Load(work)) return ExitUsage;
    if (!out.isEmpty() && s.st.BasePicLoaded && !cmd.MayWrite(WorkFileNames(out).bitmap))
        return ExitUsage;

    QElapsedTimer timer;
    timer.start();
    const size_t before = s.messages.size();
    const usecase::ComposeOutcome composed = s.Compose();
    const double seconds = double(timer.elapsed()) / 1000.0;
    if (!composed.result.ok) {
        if (!s.PrintFailure(before, composed.result.message))
            Err(msg::Text(Msg::CliNothingToCompose));
        // Which position stopped the run, and the spot to look at.
        if (composed.area > 0)
            Err(msg::Text(Msg::CliComposeStop)
                    .arg(composed.area)
                    .arg(sjis::ToUnicode(s.st.AreaName(composed.area)))
                    .arg(composed.slot)
                    .arg(composed.position.x())
                    .arg(composed.position.y())
                    .arg(composed.reason)
                    .arg(composed.place.x())
                    .arg(composed.place.y()));
        if (json) {
            QJsonObject doc{{"file", QFileInfo(work).fileName()},
                            {"composed", false},
                            {"error", composed.result.message.Text()}};
            if (composed.area > 0) {
                doc["area"] = composed.area;
                doc["slot"] = composed.slot;
                doc["position"] = QJsonArray{composed.position.x(), composed.position.y()};
                doc["reason"] = composed.reason;
                doc["place"] = QJsonArray{composed.place.x(), composed.place.y()};
            }
            PrintJson(doc);
        }
        return ExitFailed;
    }
    const int outlines = composed.outlines;
    const int32_t records = composed.records;
    QStringList written;  // what the summary names, as the use cases report it
    if (legend) {
        Store placed = s.st;
        placed.LegendX = int16_t(legend->x());
        placed.LegendY = int16_t(legend->y());
        placed.MarkChanged();
        s.doc.ReplaceMap(std::move(placed));
    }

    if (!out.isEmpty()) {
        const usecase::Result saved =
            usecase::SaveWork(s.st, WorkFileNames(out), s.picture.Made(), s.keptPicture);
        if (!saved.ok) {
            s.PrintFailure(s.messages.size(), saved.message);
            Err(msg::Text(Msg::CliNotWritten).arg(out));
            return ExitFailed;
        }
        written += saved.written;
    }
    if (!idt.isEmpty()) {
        const std::string workTitle = s.st.MapTitle;
        Store titled = s.st;
        TitleFields f = usecase::FinishedMapFields(titled, idt, QDateTime::currentDateTime());
        s.doc.ReplaceMap(std::move(titled));
        if (p.isSet(titleOpt)) f.title = p.value(titleOpt);
        if (!date.isEmpty()) {
            f.year = date[0], f.month = date[1], f.day = date[2];
            f.hour = clock[0], f.minute = clock[1], f.second = clock[2];
        }
        if (!res.isEmpty()) f.resX = res[0].trimmed(), f.resY = res[1].trimmed();
        if (p.isSet(magOpt)) f.magnification = p.value(magOpt);
        if (!remarks.isEmpty()) f.remarks = remarks;
        // A warning that only the file's time stamp could not be set still
        // leaves a complete map behind.
        Store map = s.st;
        const usecase::Result finished = usecase::WriteFinishedMap(map, idt, f, workTitle);
        s.doc.ReplaceMap(std::move(map));
        if (!finished.ok) {
            s.PrintFailure(s.messages.size(), finished.message);
            Err(msg::Text(Msg::CliNotWritten).arg(idt));
            return ExitFailed;
        }
        written += finished.written;
    }
    if (json) {
        QJsonObject doc{{"file", QFileInfo(work).fileName()},
                        {"composed", true},
                        {"areas", s.st.AreaCount},
                        {"outlines", outlines},
                        {"records", records},
                        {"seconds", seconds}};
        if (!out.isEmpty()) doc["output"] = out;
        if (!idt.isEmpty()) doc["idt"] = idt;
        PrintJson(doc);
    } else {
        Out(QStringLiteral("composed %1: %2 areas, %3 outlines, %4 records in %5 s")
                .arg(QFileInfo(work).fileName())
                .arg(s.st.AreaCount)
                .arg(outlines)
                .arg(records)
                .arg(seconds, 0, 'f', 2));
        for (const QString& f : written) Out(QStringLiteral("wrote %1").arg(f));
    }
    return ExitOk;
}

int RunCheck(const QStringList& args) {
    CommandArgs cmd("check", QStringLiteral("WORK.vlm [--json]"),
                    QStringLiteral("Traces every area position on its own and reports each "
                                   "outcome; exits 1 when any position fails."));
    cmd.AddInput(QStringLiteral("WORK.vlm"), QStringLiteral("The work file to check."));
    cmd.AddJson();
    if (auto stop = cmd.Parse(args)) return *stop;
    const QString work = cmd.inputs[0];
    const bool json = cmd.Json();

    // The check reads the map and traces on surfaces of its own: no editor.
    PictureFolder picture;
    Store st;
    Surface surf;
    if (!LoadWork(work, picture, st, surf)) return ExitUsage;
    const usecase::CheckOutcome checked = usecase::CheckAllPositions(st, surf, {});
    const std::vector<compose::CheckEntry>& entries = checked.entries;

    static const char* const names[] = {
        "closed",     "no start segment", "undecided direction", "lost at a node",
        "not closed", "step limit",       "too large",           "outline misses position"};
    static const char* const keys[] = {"closed",     "no-start",   "no-direction", "lost",
                                       "not-closed", "step-limit", "too-large",    "astray"};
    auto at = [](compose::Pt p) { return QStringLiteral("(%1,%2)").arg(p.x).arg(p.y); };
    int closed = 0;
    QJsonArray list;
    for (const compose::CheckEntry& e : entries) {
        const QString name = sjis::ToUnicode(st.AreaName(e.area));
        const compose::TraceResult& r = e.result;
        const int o = int(r.outcome);
        if (r.outcome == compose::Outcome::Closed) ++closed;
        QJsonObject j{{"area", e.area},     {"slot", e.slot},
                      {"name", name},       {"position", QJsonArray{e.position.x, e.position.y}},
                      {"outcome", keys[o]}, {"reason", QLatin1String(compose::ReasonKey(r))}};
        QString detail;
        if (r.outcome == compose::Outcome::Closed) {
            j["points"] = r.points;
            detail = QStringLiteral(", %1 points").arg(r.points);
        } else {
            const compose::Pt place = compose::ReportPlace(r, e.position);
            j["place"] = QJsonArray{place.x, place.y};
            switch (r.reason) {
                case compose::Reason::Leaks:
                    detail = QStringLiteral(": the region reaches the edge of the drawing at ") +
                             at(place);
                    break;
                case compose::Reason::DeadEnd:
                    detail = QStringLiteral(": the walk ends at ") + at(place);
                    break;
                case compose::Reason::SharedRegion: {
                    const QString other = sjis::ToUnicode(st.AreaName(r.otherArea));
                    j["other"] = QJsonObject{{"area", r.otherArea},
                                             {"slot", r.otherSlot},
                                             {"name", other},
                                             {"position", QJsonArray{place.x, place.y}}};
                    detail = QStringLiteral(": shares its region with area %1 (%2) at ")
                                 .arg(r.otherArea)
                                 .arg(other) +
                             at(place);
                    break;
                }
                case compose::Reason::Crossing:
                    detail = QStringLiteral(": lines cross without a shared point at ") + at(place);
                    break;
                case compose::Reason::Untraceable:
                    j["segment"] = QJsonArray{QJsonArray{r.place.x, r.place.y},
                                              QJsonArray{r.place2.x, r.place2.y}};
                    detail = QStringLiteral(": no walk from ") + at(r.place) + u'-' + at(r.place2) +
                             QStringLiteral(" or any other bordering segment");
                    break;
                case compose::Reason::None:
                    if (r.outcome == compose::Outcome::Lost) {
                        j["node"] = QJsonArray{r.node.x, r.node.y};
                        detail = QStringLiteral(" ") + at(r.node);
                    } else if (r.outcome == compose::Outcome::NoDirection) {
                        j["start"] = QJsonArray{place.x, place.y};
                        detail = QStringLiteral(" at ") + at(place);
                    }
                    break;
            }
        }
        if (json)
            list.append(j);
        else
            Out(QStringLiteral("%1\t%2\t%3\t(%4,%5)\t%6%7")
                    .arg(e.area)
                    .arg(e.slot)
                    .arg(name)
                    .arg(e.position.x)
                    .arg(e.position.y)
                    .arg(QLatin1String(names[o]), detail));
    }
    const int failed = int(entries.size()) - closed;
    if (json) {
        PrintJson({{"file", QFileInfo(work).fileName()},
                   {"areas", st.AreaCount},
                   {"positions", int(entries.size())},
                   {"closed", closed},
                   {"failed", failed},
                   {"entries", list}});
    } else {
        Out(QStringLiteral("%1: %2 areas, %3 positions, %4 closed, %5 failed")
                .arg(QFileInfo(work).fileName())
                .arg(st.AreaCount)
                .arg(entries.size())
                .arg(closed)
                .arg(failed));
    }
    return checked.result.ok ? ExitOk : ExitFailed;
}

}  // namespace cli
