// Autosave, recovery and the instances' own files, through the core: an
// instance "dies" by dropping its session without ending it, which leaves its
// folder behind with nobody holding the lock, as a crash does.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "formats/WorkFormat.h"
#include "shell/IniFile.h"
#include "support/FakeUi.h"

namespace {

struct Instance {
    explicit Instance(const QString& dir) {
        ed.settings.dir = dir;
        ed.InitMain(QDir(dir).filePath("velmot"));
    }
    void Trace() {
        for (auto [x, y] : {std::pair{10, 10}, {60, 12}, {58, 70}, {10, 10}}) ed.input.AddPoint(x, y);
        EditMap(ed, [&](Store& s_) { s_.Modified = true; });
    }
    void Die() { ed.sessionFiles.session_.reset(); }
    FakeUi ui;
    Editor ed{ui};
};

std::vector<Rec> Points(const Store& st) {
    std::vector<Rec> v;
    for (int32_t i = 0; i <= st.PointLast; ++i) v.push_back(st.Point(i));
    return v;
}

QStringList Folders(const QString& dir) {
    return QDir(QDir(dir).filePath("autosave")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(Session, AutosaveOfADeadInstanceComesBackAsUnsavedWork) {
    QTemporaryDir dir;
    std::vector<Rec> traced;
    QStringList temps;
    georef::GeoRef geo;
    geo.wkt = QStringLiteral("GEOGCS[\"WGS 84\"]");
    geo.method = georef::Method::Tps;
    geo.points = {{1, 2, 139.5, 35.25, true}, {30, 4, 139.75, 35.5, false}};
    {
        Instance a(dir.path());
        a.Trace();
        EditMap(a.ed, [&](Store& s_) {
            s_.AreaCount = 1;
            s_.SetAreaName(1, "A");
            s_.Geo = geo;
        });
        traced = Points(a.ed.st);
        ASSERT_TRUE(a.ed.sessionFiles.WriteAutosave());
        temps = {a.ed.temps.picture, a.ed.temps.second, a.ed.temps.third};
        a.Die();
    }
    for (const QString& t : temps) EXPECT_TRUE(QFileInfo::exists(t));

    Instance b(dir.path());
    // The dead instance's autosave is offered, its temporary files are gone.
    b.ui.answers = {true};
    EXPECT_TRUE(b.ed.sessionFiles.OfferRecovery());
    for (const QString& t : temps) EXPECT_FALSE(QFileInfo::exists(t)) << t.toStdString();
    ASSERT_EQ(b.ui.messages.size(), 1u);
    EXPECT_TRUE(b.ui.messages[0].caption.contains(QStringLiteral("復元")));
    EXPECT_EQ(Points(b.ed.st), traced);
    EXPECT_EQ(b.ed.st.AreaName(1), "A");
    EXPECT_EQ(b.ed.st.Geo, geo);
    EXPECT_TRUE(b.ed.st.Modified);
    EXPECT_TRUE(b.ed.sessionFiles.docFile_.isEmpty());
    EXPECT_TRUE(b.ed.sessionFiles.RecentFiles().isEmpty());  // the autosave is no file of the person's
    // Only b's own folder is left, holding the work again.
    EXPECT_EQ(Folders(dir.path()), QStringList{QFileInfo(b.ed.sessionFiles.session_->Dir()).fileName()});
    EXPECT_TRUE(QFileInfo::exists(b.ed.sessionFiles.session_->WorkPath()));

    // A normal end leaves nothing behind.
    b.ed.CloseMain(QRect(0, 0, 100, 100), false);
    EXPECT_TRUE(Folders(dir.path()).isEmpty());
}

TEST(Session, DeclinedAutosaveStaysUntilTheNextSave) {
    QTemporaryDir dir;
    const QString work = QDir(dir.path()).filePath("mine.vlm");
    {
        Instance a(dir.path());
        a.ui.files = {work};
        a.Trace();
        a.ed.files.SaveWorkClick();  // a file of its own, then more work on it
        a.ed.input.AddPoint(90, 90);
        EditMap(a.ed, [&](Store& s_) { s_.Modified = true; });
        ASSERT_TRUE(a.ed.sessionFiles.WriteAutosave());
        a.Die();
    }
    {
        Instance b(dir.path());
        b.ui.answers = {false};
        EXPECT_FALSE(b.ed.sessionFiles.OfferRecovery());
        ASSERT_EQ(b.ui.messages.size(), 1u);
        EXPECT_TRUE(b.ui.messages[0].text.contains(QDir::toNativeSeparators(work)));
        b.ed.CloseMain(QRect(0, 0, 100, 100), false);
    }
    EXPECT_EQ(Folders(dir.path()).size(), 1);
    // Asked again next time; a save then lets it go.
    Instance c(dir.path());
    c.ui.answers = {false};
    EXPECT_FALSE(c.ed.sessionFiles.OfferRecovery());
    EXPECT_EQ(c.ui.messages.size(), 1u);
    c.Trace();
    c.ui.files = {QDir(dir.path()).filePath("other.vlm")};
    c.ed.files.SaveWorkClick();
    EXPECT_EQ(Folders(dir.path()), QStringList{QFileInfo(c.ed.sessionFiles.session_->Dir()).fileName()});
}

TEST(Session, AnAutosaveOlderThanItsFileIsOfferedSayingSoAndKept) {
    QTemporaryDir dir;
    const QString work = QDir(dir.path()).filePath("mine.vlm");
    {
        Instance a(dir.path());
        a.ui.files = {work};
        a.Trace();
        a.ed.files.SaveWorkClick();
        a.ed.input.AddPoint(90, 90);
        EditMap(a.ed, [&](Store& s_) { s_.Modified = true; });
        ASSERT_TRUE(a.ed.sessionFiles.WriteAutosave());
        a.Die();
    }
    // Saved again elsewhere after the autosave.
    QFile f(work);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    f.close();
    // A touch, a copy or a sync tool is enough for that: the work is offered,
    // with the file's newer time, and stays when declined.
    Instance b(dir.path());
    b.ui.answers = {false};
    EXPECT_FALSE(b.ed.sessionFiles.OfferRecovery());
    ASSERT_EQ(b.ui.messages.size(), 1u);
    EXPECT_TRUE(b.ui.messages[0].text.contains(QStringLiteral("のほうが新しい日時")));
    EXPECT_EQ(Folders(dir.path()).size(), 2);
}

TEST(Session, ASecondInstanceLeavesTheFirstOnesFilesAlone) {
    QTemporaryDir dir;
    Instance a(dir.path());
    a.Trace();
    ASSERT_TRUE(a.ed.sessionFiles.WriteAutosave());
    const QByteArray before = [&] {
        QFile f(a.ed.sessionFiles.session_->WorkPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    {
        Instance b(dir.path());
        EXPECT_FALSE(b.ed.sessionFiles.OfferRecovery());
        EXPECT_TRUE(b.ui.messages.empty());
        EXPECT_NE(b.ed.sessionFiles.session_->Dir(), a.ed.sessionFiles.session_->Dir());
        EXPECT_NE(b.ed.temps.picture, a.ed.temps.picture);
        b.Trace();
        ASSERT_TRUE(b.ed.sessionFiles.WriteAutosave());
        b.ed.CloseMain(QRect(0, 0, 100, 100), false);
    }
    QFile f(a.ed.sessionFiles.session_->WorkPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_TRUE(QFileInfo::exists(a.ed.temps.picture));
}

TEST(Session, SaveOverRecentFilesAndOpeningByContent) {
    QTemporaryDir dir;
    Instance a(dir.path());
    const QString work = QDir(dir.path()).filePath("map.vlm");
    // 上書き保存 with no name yet is 作業保存; then it asks nothing.
    a.Trace();
    a.ui.files = {work};
    a.ed.Command(Cmd::SaveOver);
    ASSERT_TRUE(QFileInfo::exists(work));
    a.ed.input.AddPoint(80, 80);
    EditMap(a.ed, [&](Store& s_) { s_.Modified = true; });
    a.ui.messages.clear();
    a.ed.Command(Cmd::SaveOver);
    EXPECT_TRUE(a.ui.messages.empty());
    EXPECT_FALSE(a.ed.st.Modified);
    WorkData d;
    ASSERT_TRUE(ReadWorkFile(work, d, nullptr));
    EXPECT_EQ(int(d.points.size()), a.ed.st.PointLast + 1);

    // Files under names that say nothing open by what they hold.
    const QString renamed = QDir(dir.path()).filePath("copy.dat");
    QFile::copy(work, renamed);
    const QString picture = QDir(dir.path()).filePath("scan.png");
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    ASSERT_TRUE(img.save(picture));
    const QString junk = QDir(dir.path()).filePath("junk.vlm");
    QFile j(junk);
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write("hello\nworld\n");
    j.close();

    a.ed.files.NewWorkClick();
    EXPECT_TRUE(a.ed.OpenByContent(renamed));
    EXPECT_EQ(a.ed.st.PointLast, int32_t(d.points.size()) - 1);
    EXPECT_EQ(a.ed.sessionFiles.docFile_, renamed);
    EXPECT_TRUE(a.ed.OpenByContent(picture));
    EXPECT_TRUE(a.ed.st.BasePicLoaded);
    a.ui.messages.clear();
    EXPECT_FALSE(a.ed.OpenByContent(junk));
    EXPECT_EQ(a.ui.messages.size(), 1u);

    // Newest first, each once, at most eight, in the settings file's own section.
    for (int i = 0; i < 9; ++i)
        a.ed.sessionFiles.NoteRecentFile(QDir(dir.path()).filePath(QString("f%1").arg(i)));
    a.ed.sessionFiles.NoteRecentFile(QDir(dir.path()).filePath("f5"));
    const QStringList recent = a.ed.sessionFiles.RecentFiles();
    ASSERT_EQ(recent.size(), SessionFiles::MaxRecentFiles);
    EXPECT_TRUE(recent[0].endsWith("f5"));
    EXPECT_TRUE(recent[1].endsWith("f8"));
    EXPECT_EQ(recent.filter("f5").size(), 1);
    IniFile ini;
    ASSERT_TRUE(ini.Load(a.ed.startup.SettingsPath(), nullptr));
    EXPECT_TRUE(ini.Value("RECENT", "File1", "").endsWith("f5"));
}
