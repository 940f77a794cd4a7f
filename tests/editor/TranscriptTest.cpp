// Scripted sessions through the editor's doors, written down call by call
// (tests/support/TranscriptUi.h) and compared with the transcripts kept in
// tests/data/transcripts/. A change that moves code around must leave them
// as they are; one that changes behaviour on purpose records them anew with
// VELMOT_RECORD_TRANSCRIPTS=1 and shows the difference in its commit.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include "support/TranscriptUi.h"

namespace {

const QString kData = QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/");

struct Scripted {
    QTemporaryDir dir;
    TranscriptUi ui;
    Editor ed{ui};
    Scripted(int w, int h) {
        PrepareTestEditor(ed, dir, w, h);
        ui.dir = dir.path();
        ui.ed = &ed;
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Step(const QString& what) { ui.Note(QStringLiteral("== ") + what); }
    void Click(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        ed.MouseDown(b, x, y);
        ed.MouseUp(b, x, y);
    }
    void Drag(int x0, int y0, int x1, int y1) {
        ed.MouseDown(Qt::LeftButton, x0, y0);
        ed.MouseMove((x0 + x1) / 2, (y0 + y1) / 2);
        ed.MouseMove(x1, y1);
        ed.MouseUp(Qt::LeftButton, x1, y1);
    }
    void Popup(int x, int y, Cmd c) {
        Click(x, y, Qt::RightButton);
        ed.Command(c);
    }
    // A file the session wrote, by its size and digest.
    void Written(const QString& name) {
        QFile f(Path(name));
        const bool open = f.open(QIODevice::ReadOnly);
        ui.Note(QStringLiteral("file %1 %2 %3")
                    .arg(name)
                    .arg(open ? f.size() : -1)
                    .arg(QString::fromLatin1(
                        QCryptographicHash::hash(f.readAll(), QCryptographicHash::Md5).toHex())));
    }
};

// Compares with (or, when asked, records) the transcript kept under `name`.
void ExpectTranscript(const QString& name, const QStringList& lines) {
    const QString path = kData + QStringLiteral("transcripts/") + name + QStringLiteral(".txt");
    if (qEnvironmentVariableIsSet("VELMOT_RECORD_TRANSCRIPTS")) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write((lines.join(u'\n') + u'\n').toUtf8());
        return;
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    QStringList kept = QString::fromUtf8(f.readAll()).split(u'\n');
    if (!kept.isEmpty() && kept.back().isEmpty()) kept.removeLast();
    const qsizetype n = std::min(kept.size(), lines.size());
    for (qsizetype i = 0; i < n; ++i)
        ASSERT_EQ(lines[i].toStdString(), kept[i].toStdString()) << "line " << i + 1 << " of " << name.toStdString();
    EXPECT_EQ(lines.size(), kept.size()) << name.toStdString();
}

}  // namespace

// Tracing two towns by hand, correcting them, naming and placing them,
// composing, checking, undoing, writing and opening the files again.
TEST(Transcript, ATownTracedByHandFromFirstClickToTheFinishedMap) {
    Scripted s(400, 300);
    s.Step("trace");
    ReDraw(s.ed.bench);
    for (auto [x, y] : {std::pair{20, 20}, {200, 20}, {380, 20}, {380, 280}, {200, 280}, {20, 280}})
        s.Click(x, y);
    s.Popup(30, 290, Cmd::ConnectStartPoint);
    s.Click(200, 21);
    s.Click(190, 150);
    s.Click(260, 200);
    s.ed.KeyDown(vk::Backspace, Qt::NoModifier, Qt::NoButton);
    s.Click(200, 279);
    s.Popup(200, 279, Cmd::LastPoint);
    s.Click(300, 100);
    s.Click(340, 140);
    s.Popup(340, 140, Cmd::WrongPoint);
    s.Popup(340, 140, Cmd::CutLine);

    s.Step("edit");
    s.ed.Command(Cmd::EditMode);
    s.Drag(190, 150, 195, 150);
    s.Popup(290, 20, Cmd::AppendDot);
    s.Popup(300, 100, Cmd::DelLine);
    s.ed.KeyDown(vk::Left, Qt::NoModifier, Qt::NoButton);

    s.Step("kinds, trimming, jigsaw");
    s.ed.Command(Cmd::LineKindMode);
    s.Popup(196, 100, Cmd::SecLine);
    s.Popup(196, 100, Cmd::RelSecLine);
    s.ed.Command(Cmd::CuttingMode);
    s.Click(10, 10);
    s.Click(100, 10);
    s.Popup(100, 100, Cmd::CancelCutting);
    s.ed.Command(Cmd::PickUpMode);
    s.Drag(100, 100, 110, 105);
    s.ed.Command(Cmd::Undo);
    s.ed.Command(Cmd::BuildMode);

    s.Step("names and positions");
    s.ui.onEditAreaNames = [](const QString&, bool* changed) {
        *changed = true;
        return QStringLiteral("西町\r\n東町\r\n");
    };
    s.ed.Command(Cmd::AreaNameEdit);
    s.ed.Command(Cmd::ZoneArrange);
    s.Click(100, 150);
    s.ed.areaPositions.ZpotListClick(1);
    s.Click(300, 150);
    s.ed.areaPositions.ZpotRedrawClick();
    s.ed.areaPositions.ZpotClose();
    s.ed.Command(Cmd::IndexPos);
    s.Click(350, 40);

    s.Step("compose, check, undo");
    s.ed.Command(Cmd::ReMakeLine);
    s.ed.Command(Cmd::CheckAreas);
    s.ed.problems.CheckListClosed();
    s.ed.Command(Cmd::Undo);
    s.ed.Command(Cmd::Undo);
    s.ed.Command(Cmd::Redo);
    s.ed.Command(Cmd::Redo);

    s.Step("write and open");
    s.ui.files = {s.Path("town.idt")};
    s.ed.Command(Cmd::WriteMap);
    s.ui.files = {s.Path("town.vlm")};
    s.ed.Command(Cmd::SaveWork);
    s.Written("town.idt");
    s.Written("town.vlm");
    s.ui.saveChoices = {SaveChoice::Discard};
    s.ed.Command(Cmd::NewWork);
    s.ed.OpenByContent(s.Path("town.idt"));
    s.ed.OpenByContent(s.Path("town.vlm"));
    s.Popup(100, 100, Cmd::NearStartPosition);
    s.ed.Command(Cmd::SaveOver);
    s.Written("town.vlm");
    ExpectTranscript(QStringLiteral("town"), s.ui.lines);
}

// The bundled sample with its picture: the under-drawing's commands, then
// the shared world map composed, checked and saved.
TEST(Transcript, TheSampleWithItsPictureAndTheWorldMap) {
    Scripted s(1200, 900);
    s.Step("sample");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMOT_SOURCE_DIR "/resources/sample/sample.vlm"), s.Path("sample.vlm")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMOT_SOURCE_DIR "/resources/sample/sample.bmp"), s.Path("sample.bmp")));
    s.ed.OpenByContent(s.Path("sample.vlm"));
    s.ed.Command(Cmd::BMPshowhide);
    s.ed.Command(Cmd::BMPshowhide);
    s.ui.color = qRgb(0, 0, 0);
    s.ed.Command(Cmd::BMPmonotone);
    s.ed.Command(Cmd::ReMakeLine);
    s.ed.Command(Cmd::CheckAreas);
    s.ed.Command(Cmd::Undo);
    s.ed.Command(Cmd::BMPclear);
    s.ui.files = {s.Path("sample2.vlm")};
    s.ed.Command(Cmd::SaveWork);
    s.Written("sample2.vlm");

    s.Step("world");
    s.ui.saveChoices = {SaveChoice::Discard};
    s.ed.OpenByContent(kData + QStringLiteral("world-50m.vlm"));
    s.ed.Command(Cmd::ReMakeLine);
    s.ed.Command(Cmd::CheckAreas);
    s.ed.Command(Cmd::Undo);
    s.ed.Command(Cmd::Redo);
    s.ui.files = {s.Path("world.idt")};
    s.ed.Command(Cmd::WriteMap);
    s.Written("world.idt");
    ExpectTranscript(QStringLiteral("sample-world"), s.ui.lines);
}
