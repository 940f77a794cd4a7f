#include "cli/CliCommon.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/Messages.h"
#include "compose/Composer.h"
#include "raster/SurfaceBudget.h"
#include "render/Render.h"
#include "text/ShiftJis.h"
#include "usecases/WorkFiles.h"

namespace cli {

void Err(const QString& s) {
    std::fprintf(stderr, "%s\n", s.toUtf8().constData());
}
void Out(const QString& s) {
    std::printf("%s\n", s.toUtf8().constData());
}
void PrintJson(const QJsonObject& o) {
    std::printf("%s", QJsonDocument(o).toJson(QJsonDocument::Indented).constData());
}

bool PrintMessage(const usecase::Message& m) {
    if (m.Empty()) return false;
    const QString caption = m.Caption();
    Err(caption.isEmpty() ? m.Text() : caption + QStringLiteral(": ") + m.Text());
    return true;
}

CommandArgs::CommandArgs(const char* command, const QString& synopsis, const QString& description)
    : command_(QString::fromLatin1(command)) {
    parser.setApplicationDescription(
        QStringLiteral("velmot-cli %1 %2\n\n%3").arg(command_, synopsis, description));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addOption({QStringLiteral("max-memory"),
                      QStringLiteral("The most memory the drawing surface, a picture being "
                                     "decoded, an import or a PNG export may take, in MB (512 "
                                     "unless given). Work that needs more is refused."),
                      QStringLiteral("MB")});
}

void CommandArgs::AddInput(const QString& name, const QString& description) {
    parser.addPositionalArgument(name, description);
}

void CommandArgs::AddOutput(const QString& description) {
    parser.addOption(
        {{QStringLiteral("o"), QStringLiteral("output")}, description, QStringLiteral("file")});
}

void CommandArgs::AddForce() {
    parser.addOption({QStringLiteral("force"),
                      QStringLiteral("Overwrite an existing output file, even the input.")});
}

void CommandArgs::AddJson() {
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print the summary as JSON.")});
}

int CommandArgs::Usage(const QString& text) const {
    Err(msg::Text(Msg::CliUsage).arg(command_, text));
    return ExitUsage;
}

std::optional<int> CommandArgs::Parse(const QStringList& args, int minInputs, int maxInputs) {
    QStringList full{QStringLiteral("velmot-cli %1").arg(command_)};
    full += args;
    if (!parser.parse(full)) return Usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        // The parser names the program by its path; the command reads better.
        QString text = parser.helpText();
        const QString program = QCoreApplication::arguments().value(0);
        const qsizetype at = program.isEmpty() ? -1 : text.indexOf(program);
        if (at >= 0) text.replace(at, program.size(), full.first());
        std::printf("%s", text.toUtf8().constData());
        return ExitOk;
    }
    // Nobody can be asked here: a map needing more surface than allowed is
    // refused, not loaded at the cost of gigabytes.
    CurrentSurfaceBudget().ask = false;
    if (parser.isSet(QStringLiteral("max-memory"))) {
        bool ok = false;
        const qint64 mb = parser.value(QStringLiteral("max-memory")).toLongLong(&ok);
        if (!ok || mb < 1 || mb > (qint64(1) << 30)) return Usage(msg::Text(Msg::CliMaxMemory));
        CurrentSurfaceBudget().bytes = mb << 20;
    }
    inputs = parser.positionalArguments();
    if (inputs.size() < minInputs) return Usage(msg::Text(Msg::CliNoInput));
    if (inputs.size() > maxInputs)
        return Usage(msg::Text(Msg::CliExtraArguments).arg(inputs.mid(maxInputs).join(u' ')));
    return std::nullopt;
}

bool CommandArgs::MayWrite(const QString& output) const {
    if (Force()) return true;
    const QFileInfo out(output);
    for (const QString& in : inputs) {
        const QFileInfo i(in);
        if (i.exists() && out.exists() && i.canonicalFilePath() == out.canonicalFilePath()) {
            Usage(msg::Text(Msg::CliOutputIsInput).arg(output));
            return false;
        }
    }
    if (out.exists()) {
        Usage(msg::Text(Msg::CliOutputExists).arg(output));
        return false;
    }
    return true;
}

Batch::Batch()
    : doc(surf, commands, picture.Made()),
      st(doc.Map()),
      progress(
          [this](bool visible) {
              if (!progressOnStderr) return;
              if (!visible && lastProgress_ >= 0) std::fprintf(stderr, "\n");
              lastProgress_ = visible ? 0 : -1;
          },
          [this](int position) {
              if (!progressOnStderr || lastProgress_ < 0 || position == lastProgress_) return;
              lastProgress_ = position;
              std::fprintf(stderr, "\r%3d%%", position);
              std::fflush(stderr);
          }) {}

void Batch::Keep(const usecase::Message& m) {
    if (m.Empty()) return;
    const QString caption = m.Caption();
    messages.push_back(caption.isEmpty() ? m.Text() : caption + QStringLiteral(": ") + m.Text());
}

void Batch::PrintMessagesSince(size_t from) const {
    for (size_t i = from; i < messages.size(); ++i) Err(messages[i]);
}

void Batch::PaintNetwork() {
    progress.SetPosition(0);
    progress.Show();
    render::CompositionView(st, surf, false, [this] { progress.StepIt(); });
    progress.SetPosition(0);
    progress.Hide();
}

usecase::ComposeOutcome Batch::Compose() {
    usecase::ComposeOptions options;
    compose::ComposeHooks& hooks = options.hooks;
    usecase::Message refused;
    auto ready = [&] {
        const bool r = usecase::ReadyCompositionNetwork(doc, &progress, &refused);
        Keep(refused);
        return r;
    };
    // Nobody sees this surface. While nothing is drawn on it, the network is
    // readied as the editor's preparation readies it but left unpainted:
    // the composition paints it only to show a failure.
    if (surf.Blank()) {
        options.prepare = [&] {
            ready();
            progress.SetPosition(0);
            progress.Show();
        };
        hooks.paint = [&] {
            PaintNetwork();
            progress.SetPosition(0);
            progress.Show();
        };
    } else {
        options.prepare = [&] {
            if (ready()) PaintNetwork();
            progress.SetPosition(0);
            progress.Show();
        };
    }
    hooks.areaTick = [&] { progress.StepIt(); };
    hooks.cutTick = [&] { progress.StepIt(); };
    hooks.rebuilt = [&] { progress.SetPosition(50); };
    hooks.traced = [&] { progress.SetPosition(0); };
    usecase::ComposeOutcome r = usecase::ComposeMap(doc, surf, options);
    progress.SetPosition(0);
    progress.Hide();
    return r;
}

bool Batch::PrintFailure(size_t from, const usecase::Message& m) const {
    PrintMessagesSince(from);
    const bool shown = messages.size() > from;
    return PrintMessage(m) || shown;
}

const QString& PictureFolder::File() {
    if (!dir_) {
        dir_.emplace();
        file_ = dir_->filePath(QStringLiteral("pic.tmp"));
    }
    return file_;
}

bool LoadWork(const QString& path, PictureFolder& picture, Store& st, Surface& surf,
              QString* pictureError, std::string* keptPicture) {
    if (!QFileInfo(path).isFile()) {
        Err(msg::Text(Msg::CliUnreadable).arg(path));
        return false;
    }
    usecase::WorkRead read = usecase::ReadWork(path);
    if (!read.result.ok) {
        PrintMessage(read.result.message);
        return false;
    }
    const usecase::Result room =
        usecase::SurfaceRoom(read.extent, QSize(surf.Width(), surf.Height()), Msg::CapLoadWork);
    if (!room.ok) {
        PrintMessage(room.message);
        return false;
    }
    // Its notes (a picture that is missing, names cut) do not stop a batch run.
    // The copy is written only for a picture the work names (WorkRead::pictureNamed).
    const QString pictureFile = read.pictureNamed ? picture.File() : QString();
    const usecase::WorkOpened opened =
        usecase::OpenWork(st, surf, path, std::move(read), pictureFile);
    PrintMessage(opened.geoNote);
    if (!opened.keptPicture.empty()) {
        Err(opened.pictureNote.Text() + u'\n' +
            msg::Format(Msg::PictureLinkKept, {sjis::ToUnicode(opened.keptPicture)}));
        if (keptPicture) *keptPicture = opened.keptPicture;
    }
    // Painting the under-drawing sets the map extent to the picture's, as in
    // the window; without one nothing is painted for nobody to see.
    Surface pixels;
    QString error;
    bool loaded = false;
    if (st.BasePicLoaded && st.BasePicShown) {
        if (!QFileInfo(pictureFile).isFile())
            error = msg::Text(Msg::PictureTempMissing).arg(pictureFile);
        else
            loaded = usecase::ReadPicturePixels(pictureFile, pixels, &error);
    }
    render::Work(st, surf, loaded ? &pixels : nullptr, true);
    if (loaded) {
        st.MapWidth = int16_t(pixels.Width());
        st.MapHeight = int16_t(pixels.Height());
    }
    if (pictureError) *pictureError = error;

    // The surface covers every point and position with a margin, and the map
    // extent the composition clears covers the surface.
    int w = st.MapWidth, h = st.MapHeight;
    auto take = [&](Rec r) {
        if (r.x <= 0) return;
        w = std::max(w, int(r.x) + 3);
        h = std::max(h, int(r.y) + 3);
    };
    for (int32_t i = 0; i <= st.PointLast; ++i) take(st.Point(i));
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0; k < Store::Slots && std::as_const(st).AreaPos(k, a).x != 0; ++k)
            take(std::as_const(st).AreaPos(k, a));
    w = std::min(w, 32767);
    h = std::min(h, 32767);
    if (w > surf.Width() || h > surf.Height())
        surf.Resize(std::max(w, surf.Width()), std::max(h, surf.Height()));
    st.MapWidth = int16_t(std::max<int>(st.MapWidth, std::min(w, surf.Width())));
    st.MapHeight = int16_t(std::max<int>(st.MapHeight, std::min(h, surf.Height())));
    return true;
}

bool Batch::Load(const QString& path) {
    Store loaded = st;
    QString pictureError;
    if (!LoadWork(path, picture, loaded, surf, &pictureError, &keptPicture)) return false;
    doc.ReplaceMap(std::move(loaded));
    if (!pictureError.isEmpty())
        messages.push_back(msg::Text(Msg::CapError) + QStringLiteral(": ") + pictureError);
    return true;
}

bool Batch::LoadComposedRecords(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    usecase::WorkRead read = usecase::ReadWork(path);
    if (!read.result.ok || !read.data.completed) return false;
    Store loaded = st;
    loaded.WorkFileName = path;
    ApplyWork(std::move(read.data), loaded);
    loaded.Geo = std::move(read.geo);
    loaded.BasePicLoaded = false;
    PrintMessage(read.geoNote);
    const QSize need = usecase::MapExtent(loaded);
    loaded.MapWidth = int16_t(std::min(need.width(), 32767));
    loaded.MapHeight = int16_t(std::min(need.height(), 32767));
    doc.ReplaceMap(std::move(loaded));
    return true;
}

int Batch::Positions() const {
    int n = 0;
    for (int a = 1; a <= st.AreaCount; ++a) n += compose::TracedSlots(st, a);
    return n;
}

}  // namespace cli
