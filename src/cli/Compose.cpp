// velmot-cli compose and check: the final boundary composition of a work file
// without the window, and a survey of every area position.
#include <unistd.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "compose/Composer.h"
#include "core/Editor.h"
#include "text/ShiftJis.h"

namespace cli {
namespace {

void Err(const QString& s) {
    std::fprintf(stderr, "%s\n", s.toUtf8().constData());
}
void Out(const QString& s) {
    std::printf("%s\n", s.toUtf8().constData());
}

// An editor on a non-interactive Ui with private temporary files.
struct Session {
    CliUi ui;
    Editor ed{ui};
    QTemporaryDir tmp;
    Session() {
        ui.quiet = true;
        ed.st.TempDir = tmp.path();
        ed.st.TempPicFile = tmp.filePath(QStringLiteral("pic.tmp"));
        ed.st.TempFile2 = tmp.filePath(QStringLiteral("file2.tmp"));
        ed.st.TempFile3 = tmp.filePath(QStringLiteral("file3.tmp"));
    }
    // Loads a work file; false (with the reason printed) when it cannot be read.
    bool Load(const QString& path) {
        if (!QFileInfo(path).isFile()) {
            Err(QStringLiteral("velmot-cli: cannot read %1").arg(path));
            return false;
        }
        const size_t before = ui.messages.size();
        if (!ed.LoadWorkFile(path)) {
            for (size_t i = before; i < ui.messages.size(); ++i) Err(ui.messages[i]);
            if (ui.messages.size() == before)
                Err(QStringLiteral("velmot-cli: cannot read %1").arg(path));
            return false;
        }
        SizeSurface();
        return true;
    }
    // The surface covers every point and position with a margin, and the map
    // extent the composition clears covers the surface.
    void SizeSurface() {
        const Store& st = ed.st;
        int w = st.MapWidth, h = st.MapHeight;
        auto take = [&](Rec r) {
            if (r.x <= 0) return;
            w = std::max(w, int(r.x) + 3);
            h = std::max(h, int(r.y) + 3);
        };
        for (int32_t i = 0; i <= st.PointLast; ++i) take(st.Point(i));
        for (int a = 1; a <= st.AreaCount; ++a)
            for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k)
                take(st.AreaPos(k, a));
        w = std::min(w, 32767);
        h = std::min(h, 32767);
        if (w > ed.surf.Width() || h > ed.surf.Height())
            ed.surf.Resize(std::max(w, ed.surf.Width()), std::max(h, ed.surf.Height()));
        ed.st.MapWidth = int16_t(std::max<int>(ed.st.MapWidth, std::min(w, ed.surf.Width())));
        ed.st.MapHeight = int16_t(std::max<int>(ed.st.MapHeight, std::min(h, ed.surf.Height())));
    }
    int Positions() const {
        int n = 0;
        for (int a = 1; a <= ed.st.AreaCount; ++a) n += compose::TracedSlots(ed.st, a);
        return n;
    }
};

int Usage(const char* text) {
    std::fprintf(stderr, "velmot-cli: %s (try --help)\n", text);
    return 2;
}

}  // namespace

int RunCompose(const QStringList& args) {
    QString work, out, idt;
    std::optional<QString> title, time, resolution, magnification;
    QStringList remarks;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& v) {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("-o")) {
            if (!value(out)) return Usage("-o needs a file name");
        } else if (a == QLatin1String("--idt")) {
            if (!value(idt)) return Usage("--idt needs a file name");
        } else if (a == QLatin1String("--title")) {
            if (!value(v)) return Usage("--title needs a text");
            title = v;
        } else if (a == QLatin1String("--time")) {
            if (!value(v)) return Usage("--time needs \"YYYY/MM/DD hh:mm:ss\"");
            time = v;
        } else if (a == QLatin1String("--resolution")) {
            if (!value(v)) return Usage("--resolution needs X,Y");
            resolution = v;
        } else if (a == QLatin1String("--magnification")) {
            if (!value(v)) return Usage("--magnification needs a number");
            magnification = v;
        } else if (a == QLatin1String("--remark")) {
            if (!value(v)) return Usage("--remark needs a text");
            remarks << v;
        } else if (a.startsWith(u'-')) {
            return Usage(("unknown option " + a.toStdString()).c_str());
        } else if (work.isEmpty()) {
            work = a;
        } else {
            return Usage("compose takes one work file");
        }
    }
    if (work.isEmpty()) return Usage("compose needs a work file");
    if (out.isEmpty() && idt.isEmpty())
        return Usage("compose needs -o OUT.vlm and/or --idt OUT.idt");
    if (idt.isEmpty() && (title || time || resolution || magnification || !remarks.isEmpty()))
        return Usage("--title, --time, --resolution, --magnification and --remark go with --idt");
    // The dialog's fields, checked before any work is done.
    QStringList date, clock, res;
    if (time) {
        const auto m =
            QRegularExpression(
                QStringLiteral(
                    "^(\\d{1,4})/(\\d{1,2})/(\\d{1,2}) (\\d{1,2}):(\\d{1,2}):(\\d{1,2})$"))
                .match(*time);
        if (!m.hasMatch()) return Usage("--time must look like \"YYYY/MM/DD hh:mm:ss\"");
        date = {m.captured(1), m.captured(2), m.captured(3)};
        clock = {m.captured(4), m.captured(5), m.captured(6)};
    }
    if (resolution) {
        res = resolution->split(u',');
        bool okX = false, okY = false;
        if (res.size() == 2) res[0].trimmed().toInt(&okX), res[1].trimmed().toInt(&okY);
        if (!okX || !okY) return Usage("--resolution must be X,Y (whole numbers)");
    }
    if (magnification) {
        bool ok = false;
        magnification->toDouble(&ok);
        if (!ok) return Usage("--magnification must be a number");
    }
    if (remarks.size() > Store::MaxComments) return Usage("at most 20 remarks");

    auto session = std::make_unique<Session>();
    Session& s = *session;
    s.ui.progressOnStderr = isatty(fileno(stderr));
    if (!s.Load(work)) return 2;

    QElapsedTimer timer;
    timer.start();
    const size_t before = s.ui.messages.size();
    s.ed.ReMakeLineClick();
    const double seconds = double(timer.elapsed()) / 1000.0;
    if (!s.ed.st.Completed) {
        for (size_t i = before; i < s.ui.messages.size(); ++i) Err(s.ui.messages[i]);
        if (s.ui.messages.size() == before) Err(QStringLiteral("velmot-cli: nothing to compose"));
        return 1;
    }
    const int outlines = s.Positions();  // one closed outline per traced position
    const int32_t records = s.ed.st.PointLast + 1;

    if (!out.isEmpty()) {
        s.ui.files = {out};
        s.ed.st.Modified = true;
        const size_t m = s.ui.messages.size();
        s.ed.SaveWorkClick();
        if (s.ed.st.Modified || !QFileInfo(out).isFile()) {
            for (size_t i = m; i < s.ui.messages.size(); ++i) Err(s.ui.messages[i]);
            Err(QStringLiteral("velmot-cli: could not write %1").arg(out));
            return 1;
        }
    }
    if (!idt.isEmpty()) {
        s.ui.files = {idt};
        s.ui.answer = true;
        s.ui.onTitleDialog = [&](TitleFields& f) {
            if (title) f.title = *title;
            if (time) {
                f.year = date[0], f.month = date[1], f.day = date[2];
                f.hour = clock[0], f.minute = clock[1], f.second = clock[2];
            }
            if (resolution) f.resX = res[0].trimmed(), f.resY = res[1].trimmed();
            if (magnification) f.magnification = *magnification;
            if (!remarks.isEmpty()) f.remarks = remarks;
            return true;
        };
        const size_t m = s.ui.messages.size();
        s.ui.lastError.clear();
        s.ed.WriteMapClick();
        // A warning that only the file's time stamp could not be set still
        // leaves a complete map behind.
        const bool written = QFileInfo(idt).isFile() &&
                             (s.ui.lastError.isEmpty() ||
                              s.ui.lastError.contains(QStringLiteral("は書き込みましたが")));
        if (!written) {
            for (size_t i = m; i < s.ui.messages.size(); ++i) Err(s.ui.messages[i]);
            Err(QStringLiteral("velmot-cli: could not write %1").arg(idt));
            return 1;
        }
    }
    Out(QStringLiteral("composed %1: %2 areas, %3 outlines, %4 records in %5 s")
            .arg(QFileInfo(work).fileName())
            .arg(s.ed.st.AreaCount)
            .arg(outlines)
            .arg(records)
            .arg(seconds, 0, 'f', 2));
    return 0;
}

int RunCheck(const QStringList& args) {
    QString work;
    bool json = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--json"))
            json = true;
        else if (a.startsWith(u'-'))
            return Usage(("unknown option " + a.toStdString()).c_str());
        else if (work.isEmpty())
            work = a;
        else
            return Usage("check takes one work file");
    }
    if (work.isEmpty()) return Usage("check needs a work file");
    auto session = std::make_unique<Session>();
    Session& s = *session;
    if (!s.Load(work)) return 2;
    std::vector<compose::CheckEntry> entries;
    if (s.ed.PrepareComposition()) entries = compose::CheckPositions(s.ed.st, s.ed.surf);

    static const char* const names[] = {
        "closed",     "no start segment", "undecided direction", "lost at a node",
        "not closed", "step limit",       "too large",           "outline misses position"};
    static const char* const keys[] = {"closed",     "no-start",   "no-direction", "lost",
                                       "not-closed", "step-limit", "too-large",    "astray"};
    int closed = 0;
    QJsonArray list;
    for (const compose::CheckEntry& e : entries) {
        const QString name = sjis::ToUnicode(s.ed.st.AreaName(e.area));
        const compose::TraceResult& r = e.result;
        const int o = int(r.outcome);
        if (r.outcome == compose::Outcome::Closed) ++closed;
        QJsonObject j{{"area", e.area},
                      {"slot", e.slot},
                      {"name", name},
                      {"position", QJsonArray{e.position.x, e.position.y}},
                      {"outcome", keys[o]}};
        QString detail;
        if (r.outcome == compose::Outcome::Closed) {
            j["points"] = r.points;
            detail = QStringLiteral(", %1 points").arg(r.points);
        } else if (r.outcome == compose::Outcome::Lost) {
            j["node"] = QJsonArray{r.node.x, r.node.y};
            detail = QStringLiteral(" (%1,%2)").arg(r.node.x).arg(r.node.y);
        } else if (r.outcome == compose::Outcome::NoDirection) {
            const Rec p = s.ed.st.Point(r.start.s);
            j["start"] = QJsonArray{p.x, p.y};
            detail = QStringLiteral(" at (%1,%2)").arg(p.x).arg(p.y);
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
        QJsonObject doc{{"file", QFileInfo(work).fileName()},
                        {"areas", s.ed.st.AreaCount},
                        {"positions", int(entries.size())},
                        {"closed", closed},
                        {"failed", failed},
                        {"entries", list}};
        std::printf("%s", QJsonDocument(doc).toJson(QJsonDocument::Indented).constData());
    } else {
        Out(QStringLiteral("%1: %2 areas, %3 positions, %4 closed, %5 failed")
                .arg(QFileInfo(work).fileName())
                .arg(s.ed.st.AreaCount)
                .arg(entries.size())
                .arg(closed)
                .arg(failed));
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace cli
