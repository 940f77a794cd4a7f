// What every velmot-cli command shares: argument parsing with per-command
// help, the rule that nothing existing is overwritten without --force, and
// a loaded work for the commands that compose.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

#include "base/CommandSurface.h"
#include "base/Progress.h"
#include "doc/Document.h"
#include "raster/Surface.h"
#include "usecases/ComposeMap.h"

class QJsonObject;

namespace cli {

// Exit codes shared by every command.
enum Exit { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

void Err(const QString& s);
void Out(const QString& s);
void PrintJson(const QJsonObject& o);
// A use case's message to stderr as a box would show it, caption first;
// false when there is none.
bool PrintMessage(const usecase::Message& m);

// One command's arguments. Parse() prints --help to stdout (exit 0) and usage
// errors to stderr (exit 2); it returns the exit code when the command should
// stop there.
class CommandArgs {
  public:
    CommandArgs(const char* command, const QString& synopsis, const QString& description);
    QCommandLineParser parser;
    void AddInput(const QString& name, const QString& description);
    void AddOutput(const QString& description);  // -o, --output
    void AddForce();
    void AddJson();
    void Add(const QCommandLineOption& o) { parser.addOption(o); }
    std::optional<int> Parse(const QStringList& args, int minInputs = 1, int maxInputs = 1);
    int Usage(const QString& text) const;  // prints, returns ExitUsage
    QStringList inputs;
    QString Output() const { return parser.value(QStringLiteral("output")); }
    bool Force() const { return parser.isSet(QStringLiteral("force")); }
    bool Json() const { return parser.isSet(QStringLiteral("json")); }
    // An output must not exist (unless --force) and never be one of the
    // inputs (unless --force); false with the message printed.
    bool MayWrite(const QString& output) const;

  private:
    QString command_;
};

// Where a loaded work's under-drawing is copied while a command runs: a
// private temporary folder, made only when a work that names a picture is
// loaded, since most batch runs have none.
class PictureFolder {
  public:
    // The copy's path; the first call makes the folder.
    const QString& File();
    // The same once made; empty before (nothing is read there then).
    const QString& Made() const { return file_; }

  private:
    std::optional<QTemporaryDir> dir_;
    QString file_;
};

// Reads a work file into st (a fresh store) and surf as a session loads it,
// without an editor: the map, its under-drawing copied into `picture` and
// painted as the window paints it, and a surface (with the map extent)
// covering every point and position. False, with the reason printed, when it
// cannot be read; a picture that cannot be shown only leaves pictureError.
// An under-drawing the work names but that cannot be read is said on stderr,
// and its line left in keptPicture for a save to write again.
bool LoadWork(const QString& path, PictureFolder& picture, Store& st, Surface& surf,
              QString* pictureError = nullptr, std::string* keptPicture = nullptr);

// A work loaded for a batch command: the map in a document of its own (no
// window, no menus, no undo history), its surface, a private copy of the
// under-drawing, and progress and messages for stderr.
struct Batch {
    Batch();
    PictureFolder picture;
    Surface surf;
    // Nobody sees menus here: the document's steps keep an empty look.
    struct NoCommands : CommandSurfaceKeeper {
        CommandSurface none;
        const CommandSurface& Surface() const override { return none; }
        void Replay(const CommandSurface&) override {}
    } commands;
    Document doc;
    const Store& st;
    bool progressOnStderr = false;  // show long operations' progress
    std::vector<QString> messages;  // every message, in order, for a failure's report
    Progress progress;

    // Loads a work file; false (with the reason printed) when it cannot be read.
    bool Load(const QString& path);
    // Takes a composed work's records alone, without the surface and the
    // under-drawing, which only composing needs. False, with nothing printed
    // and nothing taken, when the work is not composed or cannot be read:
    // Load then does it all and says why.
    bool LoadComposedRecords(const QString& path);
    std::string keptPicture;  // see LoadWork
    // Positions the composition traces, over all areas.
    int Positions() const;
    // Messages since index `from`, to stderr.
    void PrintMessagesSince(size_t from) const;
    // Composes the loaded work, with progress on stderr when asked.
    usecase::ComposeOutcome Compose();
    // A failure to stderr: the messages since `from`, then the result's own
    // (caption first, as a box would show it). False when there was nothing
    // to print.
    bool PrintFailure(size_t from, const usecase::Message& m) const;

  private:
    // A message as a box would show it: caption first.
    void Keep(const usecase::Message& m);
    void PaintNetwork();
    int lastProgress_ = -1;
};

}  // namespace cli
