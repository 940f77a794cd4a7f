#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "shell/IniFile.h"
#include "support/FakeUi.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// Back-dates a file so that any rewrite shows in its modification time.
void BackDate(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)),
                              QFileDevice::FileModificationTime));
}

bool Untouched(const QString& path) {
    return QFileInfo(path).lastModified() == QDateTime(QDate(2001, 1, 1), QTime(0, 0));
}

// One run of the program: start, then close with the given window bounds.
struct ProgramRun {
    explicit ProgramRun(const QString& dir, size_t pixelLimit = 0) {
        ed.settings.dir = dir;
        ed.startup.surfacePixelLimit_ = pixelLimit;
        ed.InitMain(QDir(dir).filePath("velmot"));
    }
    FakeUi ui;
    Editor ed{ui};
};

}  // namespace

TEST(Startup, FirstStartUsesDefaultsAndWritesTheFileAtExit) {
    TestEditor t;
    const QString ini = t.Path("velmot.INI");
    ProgramRun r(t.dir->path());
    EXPECT_TRUE(r.ui.windowBounds.isNull());  // no place saved: the window picks one
    EXPECT_FALSE(r.ui.windowMaximized);
    EXPECT_TRUE(r.ui.hintsShown);
    EXPECT_TRUE(r.ui.Checked(Cmd::CheckShowHint));
    EXPECT_EQ(r.ed.surf.Width(), 2560);
    EXPECT_EQ(r.ed.surf.Height(), 1920);
    EXPECT_EQ(r.ed.st.MapWidth, 2560);
    EXPECT_EQ(r.ed.surf.Pixel(2559, 1919), Black);

    // The starting command surface.
    EXPECT_EQ(r.ed.st.Mode, Mode::Input);
    EXPECT_TRUE(r.ui.Checked(Cmd::BuildMode));
    EXPECT_TRUE(r.ui.inputDown);
    EXPECT_EQ(r.ui.cursor, SurfaceCursor::CrossLine);
    for (Cmd c : {Cmd::WriteMap, Cmd::BMPmonotone, Cmd::BMPexpand, Cmd::ZoneArrange,
                  Cmd::ReMakeLine, Cmd::SpBmpMono, Cmd::SpBmpExpand, Cmd::SpAreaPos, Cmd::SpRemake})
        EXPECT_FALSE(r.ui.Enabled(c)) << CmdName(c);
    EXPECT_TRUE(r.ui.Enabled(Cmd::BMPclear));
    EXPECT_TRUE(r.ui.messages.empty());

    // Three empty temporary files named map* in the temporary directory.
    const QString temps[] = {r.ed.temps.picture, r.ed.temps.second, r.ed.temps.third};
    for (const QString& f : temps) {
        EXPECT_TRUE(QFileInfo::exists(f)) << f.toStdString();
        EXPECT_TRUE(QFileInfo(f).fileName().startsWith("map"));
        EXPECT_EQ(QFileInfo(f).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    }
    EXPECT_NE(temps[0], temps[1]);
    EXPECT_NE(temps[1], temps[2]);

    EXPECT_FALSE(QFileInfo::exists(ini));
    r.ed.CloseMain(QRect(190, 100, 560, 420), false);
    EXPECT_EQ(ReadAll(ini),
              QByteArray("[MAIN]\r\nPosition=190,100,560,420\r\n\r\n[SET]\r\nShowHint=1\r\n"
                         "Image=2560,1920\r\n"));
    for (const QString& f : temps) EXPECT_FALSE(QFileInfo::exists(f));

    // A second start with nothing changed leaves the file alone.
    BackDate(ini);
    ProgramRun again(t.dir->path());
    EXPECT_EQ(again.ed.surf.Width(), 2560);
    again.ed.CloseMain(QRect(190, 100, 560, 420), false);
    EXPECT_TRUE(Untouched(ini));

    // Toggling the hints twice changes nothing either.
    ProgramRun hints(t.dir->path());
    hints.ed.modeCommands.CheckShowHintClick();
    EXPECT_FALSE(hints.ui.hintsShown);
    EXPECT_FALSE(hints.ui.Checked(Cmd::CheckShowHint));
    hints.ed.modeCommands.CheckShowHintClick();
    EXPECT_TRUE(hints.ui.hintsShown);
    hints.ed.CloseMain(QRect(190, 100, 560, 420), false);
    EXPECT_TRUE(Untouched(ini));
}

TEST(Startup, MaximisedWindowAndOtherSectionsSurvive) {
    TestEditor t;
    const QString ini = t.Path("velmot.INI");
    WriteAll(ini,
             "; written elsewhere\n[MAIN]\nPosition=10,20,300,200,MAX\nRecent=a.vlm,b.vlm\n"
             "[SET]\nImage=800,600\n[Other]\nfoo = x,y\n");
    BackDate(ini);
    {
        ProgramRun r(t.dir->path());
        EXPECT_EQ(r.ui.windowBounds, QRect(10, 20, 300, 200));
        EXPECT_TRUE(r.ui.windowMaximized);
        EXPECT_EQ(r.ed.surf.Width(), 800);
        EXPECT_EQ(r.ed.surf.Height(), 600);
        // Same normal bounds, still maximised: nothing to write.
        r.ed.CloseMain(QRect(10, 20, 300, 200), true);
        EXPECT_TRUE(Untouched(ini));
    }
    ProgramRun r(t.dir->path());
    r.ed.CloseMain(QRect(15, 25, 640, 480), true);
    EXPECT_EQ(ReadAll(ini),
              QByteArray("; written elsewhere\r\n[MAIN]\r\nPosition=15,25,640,480,MAX\r\n"
                         "Recent=a.vlm,b.vlm\r\n[SET]\r\nImage=800,600\r\nShowHint=1\r\n"
                         "[Other]\r\nfoo = x,y\r\n"));
}

TEST(Startup, ValuesThatAreNotNumbersFallBackToDefaults) {
    TestEditor t;
    WriteAll(t.Path("velmot.INI"),
             "[main]\r\nposition=abc,20,,200\r\n[SET]\r\nShowHint=yes\r\nImage=99999,600\r\n");
    ProgramRun r(t.dir->path());
    EXPECT_EQ(r.ui.windowBounds, QRect(190, 20, 560, 200));
    EXPECT_FALSE(r.ui.windowMaximized);
    EXPECT_TRUE(r.ui.hintsShown);
    EXPECT_EQ(r.ed.surf.Width(), 2560);
    EXPECT_EQ(r.ed.surf.Height(), 1920);
    r.ed.startup.DeleteTempFiles();
}

TEST(Startup, SurfaceShrinksByFourFifthsUntilItFits) {
    TestEditor t;
    {
        ProgramRun r(t.dir->path(), size_t(2048) * 1536);
        EXPECT_EQ(r.ed.surf.Width(), 2048);
        EXPECT_EQ(r.ed.surf.Height(), 1536);
        r.ed.startup.DeleteTempFiles();
    }
    ProgramRun r(t.dir->path(), size_t(2047) * 1536);
    EXPECT_EQ(r.ed.surf.Width(), 1636);
    EXPECT_EQ(r.ed.surf.Height(), 1228);
    EXPECT_EQ(r.ed.st.MapWidth, 1636);
    EXPECT_TRUE(r.ui.messages.empty());
    // The smaller size becomes the setting, even if a picture grew the surface since.
    r.ed.surf.Resize(3000, 2000);
    r.ed.CloseMain(QRect(190, 100, 560, 420), false);
    EXPECT_TRUE(ReadAll(t.Path("velmot.INI")).contains("Image=1636,1228\r\n"));
}

TEST(Startup, CloseAsksOnlyWithUnsavedWork) {
    TestEditor t;
    EXPECT_TRUE(t.ed.CloseQuery());
    EXPECT_TRUE(t.ui.messages.empty());

    EditMap(t.ed, [&](Store& s_) { s_.Modified = true; });
    t.Chain({{10, 10}, {20, 20}});
    t.ui.saveChoices = {SaveChoice::Cancel, SaveChoice::Discard};
    EXPECT_FALSE(t.ed.CloseQuery());
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].kind, ShownMessage::SaveDiscard);
    EXPECT_EQ(t.ui.messages[0].caption, QStringLiteral("Velmot 終了確認"));
    EXPECT_TRUE(t.st().Modified);
    EXPECT_EQ(t.st().PointLast, 3);
    EXPECT_TRUE(t.ed.CloseQuery());

    // 保存 saves first: a cancelled file dialog keeps the window, a save closes it.
    t.ui.saveChoices = {SaveChoice::Save, SaveChoice::Save};
    EXPECT_FALSE(t.ed.CloseQuery());
    t.ui.files = {t.Path("closing.vlm")};
    EXPECT_TRUE(t.ed.CloseQuery());
    EXPECT_TRUE(QFileInfo::exists(t.Path("closing.vlm")));
    EXPECT_FALSE(t.st().Modified);

    t.ed.startup.QuitClick();
    EXPECT_TRUE(t.ui.closeRequested);
}

TEST(Startup, ProgramBaseDropsOnlyTheFileExtension) {
    TestEditor t;
    t.ed.startup.SetProgramBase("/opt/map.tools/velmot");
    EXPECT_EQ(t.ed.settings.programBase, QStringLiteral("/opt/map.tools/velmot"));
    t.ed.startup.SetProgramBase("/opt/bin/Velmot.exe");
    EXPECT_EQ(t.ed.settings.programBase, QStringLiteral("/opt/bin/Velmot"));
    // Beside the program when its directory is writable.
    t.ed.settings.dir.clear();
    t.ed.startup.SetProgramBase(t.Path("velmot"));
    EXPECT_EQ(t.ed.startup.SettingsPath(), t.Path("velmot.INI"));
}

TEST(Startup, ProfileFileReading) {
    TestEditor t;
    const QString path = t.Path("p.ini");
    WriteAll(path,
             "[A]\nk1 = \"quoted, value\" \nK2=plain,with,commas\n;k3=comment\n\n[b]\nk1=other\n");
    IniFile ini;
    QString err;
    ASSERT_TRUE(ini.Load(path, &err));
    EXPECT_EQ(ini.Value("a", "K1", "d"), QStringLiteral("quoted, value"));
    EXPECT_EQ(ini.Value("A", "k2", "d"), QStringLiteral("plain,with,commas"));
    EXPECT_EQ(ini.Value("A", "k3", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.Value("B", "k1", "d"), QStringLiteral("other"));
    EXPECT_EQ(ini.Value("C", "k1", "d"), QStringLiteral("d"));
    // A new key lands in its section, before the blank line that ends it.
    ini.SetValue("A", "new", "1");
    EXPECT_EQ(ini.Text(),
              QByteArray("[A]\r\nk1 = \"quoted, value\" \r\nK2=plain,with,commas\r\n;k3=comment\r\n"
                         "new=1\r\n\r\n[b]\r\nk1=other\r\n"));
    // A missing file is an empty profile; a directory in its place is an error.
    IniFile none;
    EXPECT_TRUE(none.Load(t.Path("absent.ini"), &err));
    EXPECT_EQ(none.Value("A", "k", "d"), QStringLiteral("d"));
    QDir(t.dir->path()).mkdir("dir.ini");
    EXPECT_FALSE(none.Save(t.Path("dir.ini"), &err));
    EXPECT_FALSE(err.isEmpty());
}

TEST(Startup, LargeSettingsAreWrittenBackWholeOrLeftAlone) {
    TestEditor t;
    const QString path = t.ed.startup.SettingsPath();
    const QByteArray note = ";" + QByteArray(3 << 19, 'x') + "\r\n";  // 1.5 MiB
    WriteAll(path, "[MAIN]\r\n" + note + "[Other]\r\nlast=kept\r\n");
    t.ed.settings.winLeft = 5;
    t.ed.startup.WriteSettings();
    const QByteArray back = ReadAll(path);
    EXPECT_TRUE(back.contains(note));
    EXPECT_TRUE(back.contains("[Other]\r\nlast=kept\r\n"));
    EXPECT_TRUE(back.contains("Position=5,"));
    EXPECT_TRUE(t.ui.messages.empty());

    // Too large to read at all: left as it is, and the person is told.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(qint64(17) << 20));
    }
    BackDate(path);
    t.ed.settings.winLeft = 6;
    t.ed.startup.WriteSettings();
    EXPECT_TRUE(Untouched(path));
    EXPECT_EQ(QFileInfo(path).size(), qint64(17) << 20);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_TRUE(t.ui.messages[0].text.contains(path));
}
