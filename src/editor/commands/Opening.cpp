// Saving over the current work file, and opening a file by what it holds
// (the command line and the recent-files list do not say what a file is).
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "editor/Editor.h"
#include "base/Messages.h"
#include "formats/WorkFormat.h"
#include "raster/PictureFile.h"

namespace {

enum class Content { Work, FinishedMap, Picture, Unknown };

// A work file has numbers on lines 2, 3, 5 and 6; a finished map has "@"
// keys after its title; a picture has the magic bytes of its format.
Content Sniff(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return Content::Unknown;
    const QByteArray head = f.read(1 << 16);
    f.close();
    if (head.startsWith("BM") || !QImageReader::imageFormat(path).isEmpty() ||
        (PdfPictures() && head.left(1024).contains("%PDF-")))
        return Content::Picture;
    const QList<QByteArray> lines = head.split('\n');
    auto number = [&](int i) {
        bool ok = false;
        if (i < lines.size()) lines[i].trimmed().toInt(&ok);
        return ok;
    };
    if (number(1) && number(2) && number(4) && number(5)) return Content::Work;
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (lines[i].startsWith('@')) return Content::FinishedMap;
    return Content::Unknown;
}

}  // namespace

bool Editor::OpenByContent(const QString& path) {
    // A file named from outside (recent files, a drop, the command line) is
    // a step like any command: a picture taken this way can be taken back,
    // and the undo commands show the history the opened work starts.
    StepScope scope(steps);
    const QString caption = msg::Text(Msg::CapOpenFile);
    if (QFileInfo(path).isDir()) {
        ui.Inform(msg::Format(Msg::OpenFolder, {path}), caption, MsgIcon::Error);
        return false;
    }
    if (!QFileInfo(path).isFile()) {
        ui.Inform(msg::Text(Msg::OpenMissing).arg(path), caption, MsgIcon::Error);
        return false;
    }
    const Content kind = Sniff(path);
    if (kind == Content::Unknown) {
        ui.Inform(msg::Text(Msg::OpenUnknownKind).arg(path), caption, MsgIcon::Error);
        return false;
    }
    // A picture keeps the traced lines unless the person lets them go.
    if (kind != Content::Picture && st.Modified && !files.MayLetWorkGo(Msg::DiscardWorkAsk))
        return false;
    bool ok = false;
    if (kind == Content::Work) {
        ok = files.LoadWorkFile(path);
    } else if (kind == Content::FinishedMap) {
        ok = finishedMaps.ReadFinishedMap(path);
    } else {
        // As 下絵の読込 reads it: PDFs too, and a size beyond the budget asked
        // about before anything is decoded.
        if (!picture.LoadPictureFile(path)) return false;
        sessionFiles.NoteRecentFile(path);
        return true;
    }
    if (ok) modeCommands.BuildModeClick();
    return ok;
}
