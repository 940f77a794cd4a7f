#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

#include "formats/WorkFormat.h"
#include "raster/BitmapFile.h"
#include "support/FakeUi.h"
#include "text/ShiftJis.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Lines joined with CR LF, each line ended.
QByteArray Lines(std::initializer_list<const char*> lines) {
    QByteArray b;
    for (const char* l : lines) b += QByteArray(l) + "\r\n";
    return b;
}

int CountCaption(const FakeUi& ui, const QString& caption) {
    int n = 0;
    for (const auto& m : ui.messages) n += m.caption == caption;
    return n;
}

// The command states come from the shell; until it is in, their checks wait.
bool CommandStatesBuilt(const FakeUi& ui) {
    for (const auto& m : ui.messages)
        if (m.text.contains(QStringLiteral("Commands)"))) return false;
    return true;
}

const ShownMessage* FindCaption(const FakeUi& ui, const QString& caption) {
    for (const auto& m : ui.messages)
        if (m.caption == caption) return &m;
    return nullptr;
}

// A small map: two chains, two areas (one Japanese), a kind group.
void FillSample(Store& st) {
    st.MapTitle = sjis::FromUnicode(QStringLiteral("試験 map"));
    st.LegendX = 10;
    st.LegendY = 20;
    const Rec pts[] = {{0, 0}, {5, 6}, {7, -8}, {0, 0}, {100, 200}, {300, 400}};
    st.AssignPoints({std::begin(pts), std::end(pts)});
    st.AreaCount = 2;
    st.SetAreaName(1, sjis::FromUnicode(QStringLiteral("東京都")));
    st.SetAreaName(2, "Osaka");
    for (int k = 0; k < Store::Slots; ++k) {
        st.AreaPos(k, 1) = Rec{int16_t(k + 1), int16_t(-k)};
        st.AreaPos(k, 2) = Rec{int16_t(k == 0 ? 50 : 0), int16_t(k == 0 ? 60 : 0)};
    }
    st.Completed = true;
    st.AssignKinds({{0, -1}, {5, 6}, {7, -8}});
}

QByteArray SampleBytes(const char* marker = "complete", bool kinds = true, bool withMarker = true) {
    QByteArray b = sjis::FromUnicode(QStringLiteral("試験 map")).c_str();
    b += "\r\n";
    b += Lines({"10", "20", "0", "640", "480", "5", "0", "0", "5", "6", "7", "-8", "0", "0", "100",
                "200", "300", "400", "2"});
    b += QByteArray(sjis::FromUnicode(QStringLiteral("東京都")).c_str()) + "\r\nOsaka\r\n";
    for (int k = 0; k < 11; ++k)
        b += QByteArray::number(k + 1) + "\r\n" + QByteArray::number(-k) + "\r\n";
    b += Lines({"50", "60"});
    for (int k = 1; k < 11; ++k) b += Lines({"0", "0"});
    if (withMarker) b += QByteArray(marker) + "\r\n";
    if (kinds) b += Lines({"2", "0", "-1", "5", "6", "7", "-8"});
    return b;
}

}  // namespace

TEST(WorkFileSave, RightAfterStartUpGivesTheEmptyWorkLines) {
    TestEditor t;
    t.ui.files = {t.Path("plan")};
    t.ed.files.SaveWorkClick();
    EXPECT_EQ(ReadAll(t.Path("plan.vlm")),
              Lines({"", "-1", "-1", "0", "640", "480", "0", "0", "0", "0", "continue", "-1"}));
    EXPECT_FALSE(QFile::exists(t.Path("plan.bmp")));
    EXPECT_EQ(t.st().WorkFileName, t.Path("plan.vlm"));
    EXPECT_EQ(t.ui.fileFilters.back(), QStringLiteral("作業ﾌｧｲﾙ(*.vlm)|*.vlm"));
}

TEST(WorkFileSave, FullMapGoldenBytesAndRoundTrip) {
    TestEditor t;
    EditMap(t.ed, [&](Store& s_) {
        FillSample(s_);
        s_.Modified = true;
    });
    t.ui.files = {t.Path("map.vlm")};
    t.ed.files.SaveWorkClick();
    const QByteArray first = ReadAll(t.Path("map.vlm"));
    EXPECT_EQ(first, SampleBytes());
    EXPECT_FALSE(t.st().Modified);

    // Load into a fresh editor and save again: the same bytes.
    TestEditor u;
    ASSERT_TRUE(u.ed.files.LoadWorkFile(t.Path("map.vlm")));
    EXPECT_TRUE(u.st().Completed);
    EXPECT_TRUE(u.st().Composed);
    EXPECT_EQ(u.st().AreaName(1), sjis::FromUnicode(QStringLiteral("東京都")));
    EXPECT_EQ(u.st().AreaPos(10, 1), (Rec{11, -10}));
    EXPECT_EQ(u.st().KindLast, 2);
    EXPECT_EQ(u.st().KindRec(0), (Rec{0, -1}));
    EXPECT_EQ(u.st().WorkFileName, t.Path("map.vlm"));
    u.ui.files = {u.Path("again.vlm")};
    u.ed.files.SaveWorkClick();
    EXPECT_EQ(ReadAll(u.Path("again.vlm")), first);
}

TEST(WorkFileSave, NamesTheFilesFromTheChosenName) {
    EXPECT_EQ(WorkFileNames("/d/plan").work, "/d/plan.vlm");
    EXPECT_EQ(WorkFileNames("/d/plan").bitmap, "/d/plan.bmp");
    EXPECT_EQ(WorkFileNames("/d/plan.txt").work, "/d/plan.txt");
    EXPECT_EQ(WorkFileNames("/d/plan.txt").bitmap, "/d/plan.bmp");
    EXPECT_EQ(WorkFileNames("/d/plan.").work, "/d/plan.vlm");
    // A dot in a directory name is not an extension.
    EXPECT_EQ(WorkFileNames("/d.x/plan").work, "/d.x/plan.vlm");
    EXPECT_EQ(WorkFileNames("/d.x/plan").bitmap, "/d.x/plan.bmp");
}

TEST(WorkFileSave, WritesTheCompanionBitmapAndFindsItAgain) {
    TestEditor t;
    QImage pic(4, 3, QImage::Format_RGB32);
    pic.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(WriteBitmapFile(pic, t.ed.temps.picture, nullptr));
    EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });
    t.ui.files = {t.Path("plan.txt")};
    t.ed.files.SaveWorkClick();
    ASSERT_TRUE(QFile::exists(t.Path("plan.txt")));
    EXPECT_EQ(ReadAll(t.Path("plan.bmp")), ReadAll(t.ed.temps.picture));
    EXPECT_TRUE(ReadAll(t.Path("plan.txt")).contains("\r\nplan.bmp\r\n"));

    TestEditor u;
    ASSERT_TRUE(u.ed.files.LoadWorkFile(t.Path("plan.txt")));
    EXPECT_TRUE(u.st().BasePicLoaded);
    EXPECT_EQ(ReadBitmapFile(u.ed.temps.picture, nullptr).pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_TRUE(u.ui.Enabled(Cmd::BMPmonotone));
}

TEST(WorkFileSave, OverwriteQuestions) {
    TestEditor t;
    WriteAll(t.Path("plan.vlm"), "old");
    WriteAll(t.Path("plan.bmp"), "oldbmp");
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.fill(Qt::white);
    ASSERT_TRUE(WriteBitmapFile(pic, t.ed.temps.picture, nullptr));
    EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });

    // No to the bitmap: nothing written, the new name kept.
    t.ui.files = {t.Path("plan")};
    t.ui.answers = {false};
    t.ed.files.SaveWorkClick();
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text,
              t.Path("plan.bmp") + QStringLiteral(" が存在します。上書きOk?"));
    EXPECT_EQ(t.ui.messages[0].caption, QStringLiteral("上書き確認"));
    EXPECT_EQ(ReadAll(t.Path("plan.vlm")), "old");
    EXPECT_EQ(t.st().WorkFileName, t.Path("plan.vlm"));

    // Yes to the bitmap, no to the work file: nothing written, the name emptied.
    t.ui.messages.clear();
    t.ui.files = {t.Path("plan")};
    t.ui.answers = {true, false};
    t.ed.files.SaveWorkClick();
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[1].text,
              t.Path("plan.vlm") + QStringLiteral(" が存在します。上書きOk?"));
    EXPECT_EQ(ReadAll(t.Path("plan.vlm")), "old");
    EXPECT_EQ(ReadAll(t.Path("plan.bmp")), "oldbmp");
    EXPECT_TRUE(t.st().WorkFileName.isEmpty());

    // Yes to both: both replaced.
    t.ui.files = {t.Path("plan")};
    t.ui.answers = {true, true};
    t.ed.files.SaveWorkClick();
    EXPECT_NE(ReadAll(t.Path("plan.vlm")), "old");
    EXPECT_EQ(ReadAll(t.Path("plan.bmp")), ReadAll(t.ed.temps.picture));
}

TEST(WorkFileSave, AFailedSaveKeepsThePreviousFiles) {
    TestEditor t;
    WriteAll(t.Path("plan.vlm"), "old work");
    WriteAll(t.Path("plan.bmp"), "old bitmap");
    EditMap(t.ed, [&](Store& s_) { s_.Modified = true; });

    // The picture copy cannot be read: neither file changes.
    EditMap(t.ed, [&](Store& s_) { s_.BasePicLoaded = true; });
    QFile::remove(t.ed.temps.picture);
    t.ui.files = {t.Path("plan")};
    t.ed.files.SaveWorkClick();
    EXPECT_EQ(ReadAll(t.Path("plan.vlm")), "old work");
    EXPECT_EQ(ReadAll(t.Path("plan.bmp")), "old bitmap");
    EXPECT_TRUE(t.st().Modified);
    EXPECT_EQ(CountCaption(t.ui, QStringLiteral("作業保存")), 1);

    // The work file cannot be written (its name is a directory): the bitmap
    // is not replaced either.
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.fill(Qt::white);
    ASSERT_TRUE(WriteBitmapFile(pic, t.ed.temps.picture, nullptr));
    ASSERT_TRUE(QDir(t.dir->path()).mkdir("busy.vlm"));
    WriteAll(t.Path("busy.bmp"), "old bitmap");
    t.ui.files = {t.Path("busy")};
    t.ed.files.SaveWorkClick();
    EXPECT_EQ(ReadAll(t.Path("busy.bmp")), "old bitmap");
    EXPECT_TRUE(t.st().Modified);
    EXPECT_EQ(CountCaption(t.ui, QStringLiteral("作業保存")), 2);
}

TEST(WorkFileLoad, ShortenedFormsAndLfOnly) {
    TestEditor t;
    // Ends after the positions.
    WriteAll(t.Path("a.vlm"), SampleBytes("complete", false, false));
    ASSERT_TRUE(t.ed.files.LoadWorkFile(t.Path("a.vlm")));
    EXPECT_FALSE(t.st().Completed);
    EXPECT_EQ(t.st().KindLast, -1);
    EXPECT_EQ(t.st().AreaCount, 2);
    EXPECT_EQ(t.st().PointLast, 5);

    // Ends after the marker.
    WriteAll(t.Path("b.vlm"), SampleBytes("complete", false));
    ASSERT_TRUE(t.ed.files.LoadWorkFile(t.Path("b.vlm")));
    EXPECT_TRUE(t.st().Completed);
    EXPECT_EQ(t.st().KindLast, -1);

    // LF line ends, an unknown marker reads as not complete.
    QByteArray lf = SampleBytes("finished");
    lf.replace("\r\n", "\n");
    WriteAll(t.Path("c.vlm"), lf);
    ASSERT_TRUE(t.ed.files.LoadWorkFile(t.Path("c.vlm")));
    EXPECT_FALSE(t.st().Completed);
    EXPECT_FALSE(t.st().Composed);
    EXPECT_EQ(t.st().KindLast, 2);
    EXPECT_EQ(t.st().Point(2), (Rec{7, -8}));
    EXPECT_EQ(t.st().MapTitle, sjis::FromUnicode(QStringLiteral("試験 map")));
}

TEST(WorkFileLoad, CommandStatesFollowTheLoadedMap) {
    TestEditor t;
    WriteAll(t.Path("few.vlm"), Lines({"", "-1", "-1", "0", "640", "480", "2", "0", "0", "1", "1",
                                       "2", "2", "1", "A", "5", "5"}));
    // Eleven slots for the one area: the first given above, ten more here.
    {
        QFile f(t.Path("few.vlm"));
        ASSERT_TRUE(f.open(QIODevice::Append));
        for (int k = 1; k < 11; ++k) f.write("0\r\n0\r\n");
    }
    ASSERT_TRUE(t.ed.files.LoadWorkFile(t.Path("few.vlm")));
    if (!CommandStatesBuilt(t.ui)) GTEST_SKIP() << "command states not built yet";
    EXPECT_FALSE(t.ui.Enabled(Cmd::ReMakeLine));
    EXPECT_FALSE(t.ui.Enabled(Cmd::ZoneArrange));

    WriteAll(t.Path("map.vlm"), SampleBytes());
    ASSERT_TRUE(t.ed.files.LoadWorkFile(t.Path("map.vlm")));
    EXPECT_TRUE(t.ui.Enabled(Cmd::ReMakeLine));
    EXPECT_TRUE(t.ui.Enabled(Cmd::ZoneArrange));
    EXPECT_FALSE(t.st().Modified);
}

TEST(WorkFileLoad, MissingBitmapLoadsTheRest) {
    TestEditor t;
    QByteArray b = SampleBytes();
    b.replace("\r\n20\r\n0\r\n", "\r\n20\r\nnowhere.bmp\r\n");
    WriteAll(t.Path("m.vlm"), b);
    ASSERT_TRUE(t.ed.files.LoadWorkFile(t.Path("m.vlm")));
    const ShownMessage* m = FindCaption(t.ui, QStringLiteral("下絵なし"));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->text,
              t.Path("nowhere.bmp") + QStringLiteral(" がみつかりません。下絵は使えません。"));
    EXPECT_FALSE(t.st().BasePicLoaded);
    EXPECT_EQ(t.st().PointLast, 5);

    // Saved again, over itself or under another name, the link stays; only
    // clearing the under-drawing lets it go.
    auto pictureLine = [&](const char* name) {
        return ReadAll(t.Path(name)).split('\n').value(3).trimmed();
    };
    t.ed.files.SaveOverClick();
    EXPECT_EQ(pictureLine("m.vlm"), "nowhere.bmp");
    t.ui.files = {t.Path("m2.vlm")};
    t.ed.files.SaveWorkClick();
    EXPECT_EQ(pictureLine("m2.vlm"), "nowhere.bmp");
    t.ui.answers = {true};
    t.ed.picture.BMPclearClick();
    t.ed.files.SaveOverClick();
    EXPECT_EQ(pictureLine("m2.vlm"), "0");
}

TEST(WorkFileLoad, BadInputIsRefusedAndTheWorkKept) {
    struct Case {
        const char* what;
        QByteArray bytes;
        int line;
    };
    const QByteArray head = Lines({"t", "-1", "-1", "0", "640", "480"});
    const Case cases[] = {
        {"not a number", head + Lines({"1", "0", "0", "12a", "5"}), 10},
        {"empty number", head + Lines({"0", "", "0"}), 8},
        {"too many points", head + Lines({"15360000", "0", "0"}), 7},
        {"negative count", head + Lines({"-1"}), 7},
        {"too many areas", head + Lines({"0", "0", "0", "3441"}), 10},
        {"too many kinds", SampleBytes("continue", false) + Lines({"15360000"}), 0},
        {"coordinate beyond 16 bits", head + Lines({"1", "0", "0", "32768", "0"}), 10},
        {"huge number", head + Lines({"99999999999999999999999"}), 7},
        {"truncated points", head + Lines({"1000000", "0", "0", "5"}), 11},
        {"truncated names", head + Lines({"0", "0", "0", "2", "A"}), 12},
        {"truncated header", Lines({"t", "-1"}), 3},
        {"empty file", QByteArray(), 1},
        {"line without end", head + Lines({"0", "0", "0", "1"}) + QByteArray(1 << 17, 'x'), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestEditor t;
        EditMap(t.ed, [&](Store& s_) {
            FillSample(s_);
            s_.Modified = true;
            s_.WorkFileName = "before.vlm";
        });
        WriteAll(t.Path("bad.vlm"), c.bytes);
        EXPECT_FALSE(t.ed.files.LoadWorkFile(t.Path("bad.vlm")));
        const ShownMessage* m = FindCaption(t.ui, QStringLiteral("作業読込"));
        ASSERT_NE(m, nullptr);
        EXPECT_TRUE(m->text.contains(t.Path("bad.vlm")));
        if (c.line > 0) {
            EXPECT_TRUE(m->text.contains(QStringLiteral(" の %1 行目").arg(c.line)))
                << m->text.toStdString();
        }
        // The work in the editor is untouched.
        EXPECT_EQ(t.st().PointLast, 5);
        EXPECT_EQ(t.st().AreaCount, 2);
        EXPECT_TRUE(t.st().Modified);
        EXPECT_EQ(t.st().WorkFileName, "before.vlm");
    }
    {
        // The message names the line as the file holds it.
        TestEditor t;
        WriteAll(t.Path("bad.vlm"), head + Lines({"1", "0", "0", "12a", "5"}));
        EXPECT_FALSE(t.ed.files.LoadWorkFile(t.Path("bad.vlm")));
        EXPECT_TRUE(t.ui.LastText().contains(QStringLiteral("点の X 座標")))
            << t.ui.LastText().toStdString();
    }
    // A name too long for its field is cut at a character boundary, and said so.
    TestEditor t;
    QByteArray b = head + Lines({"0", "0", "0", "1"});
    b += QByteArray(sjis::FromUnicode(QStringLiteral("あいうえおかきくけこ")).c_str()) + "\r\n";
    for (int k = 0; k < 11; ++k) b += Lines({"0", "0"});
    WriteAll(t.Path("long.vlm"), b);
    ASSERT_TRUE(t.ed.files.LoadWorkFile(t.Path("long.vlm")));
    EXPECT_EQ(t.st().AreaName(1), sjis::FromUnicode(QStringLiteral("あいうえおかきくけ")));
    const ShownMessage* m = FindCaption(t.ui, QStringLiteral("作業読込"));
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->text.contains(QStringLiteral("11 行目")));
}

TEST(WorkFileLoad, GrowsTheSurfaceToHoldTheMap) {
    TestEditor t(320, 200);
    WriteAll(t.Path("big.vlm"), Lines({"", "-1", "-1", "0", "320", "200", "2", "0", "0", "1000",
                                       "50", "30", "700", "0", "continue", "-1"}));
    ASSERT_TRUE(t.ed.files.LoadWorkFile(t.Path("big.vlm")));
    EXPECT_GE(t.ed.surf.Width(), 1001);
    EXPECT_GE(t.ed.surf.Height(), 701);
    // The map extent follows, so a redraw clears under the far point too:
    // a stale white pixel there would pass for a point in the hit tests.
    EXPECT_EQ(t.st().MapWidth, 1001);
    EXPECT_EQ(t.st().MapHeight, 701);
    t.ed.surf.SetPixel(900, 600, White);
    ReDraw(t.ed.bench);
    EXPECT_EQ(t.ed.surf.Pixel(900, 600), Black);
}

TEST(WorkFileLoad, RealWorldMap) {
    TestEditor t;
    const QString path = QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.vlm");
    ASSERT_TRUE(t.ed.files.LoadWorkFile(path));
    EXPECT_EQ(t.st().PointLast, 77537);
    EXPECT_EQ(t.st().AreaCount, 183);
    EXPECT_EQ(t.st().KindLast, -1);
    EXPECT_EQ(t.st().LegendX, 10);
    EXPECT_EQ(t.st().MapWidth, 7414);
    EXPECT_GE(t.ed.surf.Width(), 7414);
    EXPECT_GE(t.ed.surf.Height(), 3481);
    EXPECT_FALSE(t.st().Completed);
    // Saving it again gives the file it came from.
    t.ui.files = {t.Path("copy.vlm")};
    t.ed.files.SaveWorkClick();
    EXPECT_EQ(ReadAll(t.Path("copy.vlm")), ReadAll(path));
}

TEST(WorkFileCommands, NewWorkAsksAndResets) {
    TestEditor t;
    EditMap(t.ed, [&](Store& s_) {
        FillSample(s_);
        s_.WorkFileName = "keep.vlm";
    });
    t.ui.answers = {false};
    t.ed.files.NewWorkClick();
    EXPECT_EQ(t.st().PointLast, 5);
    t.ed.files.NewWorkClick();
    EXPECT_EQ(t.ui.messages[0].text, QStringLiteral("現在の作業を破棄しますか？"));
    EXPECT_EQ(t.ui.messages[0].caption, QStringLiteral("確認"));
    EXPECT_EQ(t.st().PointLast, 0);
    EXPECT_EQ(t.st().KindLast, -1);
    EXPECT_EQ(t.st().AreaCount, 0);
    EXPECT_TRUE(t.st().AreaName(1).empty());
    EXPECT_EQ(t.st().LegendX, -1);
    EXPECT_FALSE(t.st().Completed);
    EXPECT_EQ(t.st().WorkFileName, "keep.vlm");
    // A new map starts without the old one's title and remarks.
    EXPECT_TRUE(t.st().MapTitle.empty());
    EXPECT_EQ(t.st().MapCommentCount, 0);
    EXPECT_TRUE(t.st().MapComments[1].empty());
    if (!CommandStatesBuilt(t.ui)) GTEST_SKIP() << "command states not built yet";
    EXPECT_FALSE(t.ui.Enabled(Cmd::ReMakeLine));
    EXPECT_FALSE(t.ui.Enabled(Cmd::SpRemake));
}

TEST(WorkFileCommands, LoadOffersToSaveTheChangesFirst) {
    TestEditor t;
    WriteAll(t.Path("map.vlm"), SampleBytes());
    t.Chain({{10, 10}, {60, 10}});
    EditMap(t.ed, [&](Store& s_) { s_.Modified = true; });
    t.ui.files = {t.Path("map.vlm")};
    t.ed.files.LoadWorkClick();  // キャンセル: nothing happens
    EXPECT_EQ(t.ui.messages.at(0).text, QStringLiteral("現在の作業を破棄してよいですか？"));
    EXPECT_EQ(t.st().PointLast, 3);
    EXPECT_TRUE(t.ui.fileFilters.empty());

    // 保存: the changes are written under the name asked for, then the file opens.
    t.ui.saveChoices = {SaveChoice::Save};
    t.ui.files = {t.Path("mine.vlm"), t.Path("map.vlm")};
    t.ed.files.LoadWorkClick();
    EXPECT_TRUE(QFile::exists(t.Path("mine.vlm")));
    EXPECT_EQ(t.st().PointLast, 5);

    // 保存 over the file the work came from needs no name.
    t.Chain({{10, 10}, {60, 10}});
    EditMap(t.ed, [&](Store& s_) { s_.Modified = true; });
    t.ui.saveChoices = {SaveChoice::Save};
    t.ed.files.NewWorkClick();
    EXPECT_NE(ReadAll(t.Path("map.vlm")), SampleBytes());
    EXPECT_EQ(t.st().PointLast, 0);

    // A save that is cancelled keeps the work; 破棄 lets it go.
    t.Chain({{10, 10}, {60, 10}});
    EditMap(t.ed, [&](Store& s_) { s_.Modified = true; });
    t.ui.saveChoices = {SaveChoice::Save};
    t.ui.files = {QString()};
    t.ed.files.NewWorkClick();
    EXPECT_EQ(t.st().PointLast, 3);
    t.ui.saveChoices = {SaveChoice::Discard};
    t.ed.files.NewWorkClick();
    EXPECT_EQ(t.st().PointLast, 0);
}

TEST(WorkFileCommands, ToolBarOpenAndSave) {
    TestEditor t;
    WriteAll(t.Path("map.VLM"), SampleBytes());
    EditMap(t.ed, [&](Store& s_) { s_.Modified = true; });
    t.ui.files = {t.Path("map.VLM")};
    t.ed.files.SpFileOpenClick();  // unsaved changes: asked, and kept on キャンセル
    EXPECT_EQ(t.ui.messages.at(0).text, QStringLiteral("現在の作業を破棄してよいですか？"));
    EXPECT_EQ(t.st().PointLast, 0);
    t.ui.saveChoices = {SaveChoice::Discard};
    t.ed.files.SpFileOpenClick();
    EXPECT_EQ(t.ui.fileFilters.back(),
              QStringLiteral("作業ﾌｧｲﾙ(*.vlm)|*.vlm|IDT ﾌｧｲﾙ(*.idt)|*.idt"));
    EXPECT_EQ(t.st().PointLast, 5);
    ASSERT_TRUE(t.st().Completed);

    // Saving a completed map offers the finished map.
    t.ui.messages.clear();
    t.ui.files = {t.Path("out")};
    t.ui.answers = {false};
    t.ed.files.SpFileSaveClick();
    EXPECT_TRUE(QFile::exists(t.Path("out.vlm")));
    const ShownMessage* m = FindCaption(t.ui, QStringLiteral("完成図保存"));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->text, QStringLiteral("完成図として保存しますか ?"));
}

TEST(WorkFileFormat, ReaderNeverReservesFromTheDeclaredCount) {
    // A tiny file declaring the largest count is refused as truncated, quickly.
    QByteArray b = Lines({"", "-1", "-1", "0", "1", "1", "15359999", "0"});
    QBuffer buf(&b);
    buf.open(QIODevice::ReadOnly);
    WorkData d;
    QString error;
    EXPECT_FALSE(ReadWork(buf, "x", d, &error));
    EXPECT_LT(d.points.capacity(), 100u);
}

TEST(WorkFileSave, ALineBreakInATitleOrNameBecomesASpace) {
    Store st;
    st.MapTitle = "Map\r\nof\x7f" "1";
    st.AreaCount = 1;
    st.SetAreaName(1, "A\nB\x1b");
    EXPECT_EQ(std::string(st.AreaName(1)), "A B ");
    QTemporaryDir dir;
    const QString path = dir.filePath("lines.vlm");
    ASSERT_TRUE(WriteWorkFile(path, st, "0", nullptr));
    WorkData d;
    QString error;
    ASSERT_TRUE(ReadWorkFile(path, d, &error)) << error.toStdString();
    EXPECT_EQ(d.title, "Map  of 1");
    EXPECT_EQ(d.names, std::vector<std::string>{"A B "});
}

TEST(WorkFileSave, NumbersOfEveryLengthAndSignReadBackAsWritten) {
    const std::vector<int16_t> values{0,     1,     9,     10,    99,    100,   999,   1000,
                                      9999,  10000, 32767, -1,    -9,    -10,   -99,   -100,
                                      -999,  -1000, -9999, -10000, -32768};
    std::vector<Rec> recs;
    for (int16_t v : values) recs.push_back({v, int16_t(-v / 2)});
    Store st;
    st.AssignPoints(recs);
    st.AssignKinds(recs);
    QTemporaryDir dir;
    const QString path = dir.filePath("numbers.vlm");
    ASSERT_TRUE(WriteWorkFile(path, st, "0", nullptr));
    WorkData d;
    QString error;
    ASSERT_TRUE(ReadWorkFile(path, d, &error)) << error.toStdString();
    EXPECT_EQ(d.points, recs);
    EXPECT_EQ(d.kinds, recs);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("\r\n-10000\r\n5000\r\n-32768\r\n16384\r\n"));
}

// Long lists are read in runs straight from the buffer. Every other form of a
// number line, LF or CR LF, and a damaged line past the first chunk must come
// out as reading line by line gives them, with the damaged line's number.
TEST(WorkFileFormat, LongListsReadAsLineByLine) {
    const int n = 20000;
    const std::pair<const char*, int> odd[] = {
        {"+5", 5},        {"000012", 12},     {" 7", 7},       {"-00003", -3},
        {"000000000", 0}, {"-32768", -32768}, {"32767", 32767}};
    std::vector<QByteArray> lines{"t", "-1", "-1", "0", "640", "480", QByteArray::number(n - 1)};
    std::vector<Rec> want;
    for (int i = 0; i < n; ++i) {
        Rec r{int16_t(i % 7000 - 3500), int16_t(i % 13)};
        QByteArray x = QByteArray::number(r.x);
        if (i % 97 == 0) {
            const auto& [text, value] = odd[(i / 97) % std::size(odd)];
            x = text;
            r.x = int16_t(value);
        }
        lines.push_back(x);
        lines.push_back(QByteArray::number(r.y));
        want.push_back(r);
    }
    lines.push_back("0");
    auto bytes = [&] {
        QByteArray b;
        for (size_t i = 0; i < lines.size(); ++i) b += lines[i] + (i % 3 ? "\r\n" : "\n");
        return b;
    };
    auto read = [](QByteArray b, WorkData& d, QString& error) {
        QBuffer buf(&b);
        buf.open(QIODevice::ReadOnly);
        return ReadWork(buf, "x", d, &error);
    };
    WorkData d;
    QString error;
    ASSERT_TRUE(read(bytes(), d, error)) << error.toStdString();
    EXPECT_EQ(d.points, want);

    for (const char* damage : {"12a", "32768", "123456"}) {
        SCOPED_TRACE(damage);
        const size_t at = 7 + 2 * 15001;  // record 15001's X, line 30010
        const QByteArray kept = lines[at];
        lines[at] = damage;
        EXPECT_FALSE(read(bytes(), d, error));
        EXPECT_TRUE(error.contains(QStringLiteral("30010"))) << error.toStdString();
        lines[at] = kept;
    }
}
