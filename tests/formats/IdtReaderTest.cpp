#include <gtest/gtest.h>

#include <QBuffer>
#include <set>

#include "IdtTestMap.h"
#include "formats/IdtReader.h"
#include "formats/IdtWriter.h"
#include "text/ShiftJis.h"

namespace {
void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Undirected segments of the point list, with how often each occurs.
std::multiset<std::pair<std::pair<int, int>, std::pair<int, int>>> Segments(const Store& st) {
    std::multiset<std::pair<std::pair<int, int>, std::pair<int, int>>> s;
    for (int32_t i = 1; i <= st.PointLast; ++i) {
        const Rec a = st.Point(i - 1), b = st.Point(i);
        if (a.x == 0 || b.x == 0) continue;
        auto p = std::make_pair(int(a.x), int(a.y)), q = std::make_pair(int(b.x), int(b.y));
        s.insert(p < q ? std::make_pair(p, q) : std::make_pair(q, p));
    }
    return s;
}

std::vector<Rec> Slots(const Store& st, int a) {
    std::vector<Rec> v;
    for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k) v.push_back(st.AreaPos(k, a));
    return v;
}

// Two squares in composed form (sharing the side (20,10)-(20,20)), a leftover
// line, a second-boundary copy of the shared side and an auxiliary line.
void FillComposed(TestEditor& t) {
    t.Chain({{10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}});
    t.Chain({{20, 10}, {30, 10}, {30, 20}, {20, 20}, {20, 10}});
    t.Chain({{40, 40}, {50, 50}});
    for (Rec r : {Rec{0, -1}, Rec{20, 10}, Rec{20, 20}, Rec{0, -8}, Rec{5, 5}, Rec{6, 6}})
        EditMap(t.ed, [&](Store& s_) { s_.SetKind(++s_.KindLast, r); });
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaCount = 2;
        s_.SetAreaName(1, sjis::FromUnicode(QStringLiteral("東区")));
        s_.AreaPos(0, 1) = {15, 15};
        s_.AreaPos(1, 1) = {0, 0};
        s_.SetAreaName(2, "West");
        s_.AreaPos(0, 2) = {25, 15};
        s_.AreaPos(1, 2) = {26, 16};
        s_.AreaPos(2, 2) = {0, 0};
        s_.LegendX = 60;
        s_.LegendY = 70;
        s_.Completed = s_.Composed = true;
    });
}

QByteArray Header(const char* text) {
    return QByteArray(text);
}
}  // namespace

TEST(IdtReader, WriteThenReadRestoresTheMap) {
    TestEditor w;
    FillComposed(w);
    const QString path = w.Path("round.idt");
    w.ui.files = {path};
    AnswerTitle(w, QStringLiteral("町の地図"), "1.0", {QStringLiteral("第一版")});
    w.ed.finishedMaps.WriteMapClick();
    ASSERT_TRUE(w.ui.messages.empty()) << w.ui.LastText().toStdString();

    TestEditor r;
    EditMap(r.ed, [&](Store& s_) { s_.Modified = true; });
    r.ui.saveChoices = {SaveChoice::Discard};
    r.ui.files = {path};
    r.ed.finishedMaps.ReadMapClick();
    const Store& st = r.st();
    EXPECT_EQ(r.ui.messages.size(), 1u);  // the discard question only
    EXPECT_EQ(sjis::ToUnicode(st.MapTitle), QStringLiteral("町の地図"));
    EXPECT_EQ(st.IdtFileName, path);
    EXPECT_EQ(st.LegendX, 60);
    EXPECT_EQ(st.LegendY, 70);
    ASSERT_EQ(st.AreaCount, 2);
    EXPECT_EQ(sjis::ToUnicode(st.AreaName(1)), QStringLiteral("東区"));
    EXPECT_EQ(st.AreaName(2), "West");
    EXPECT_EQ(Slots(st, 1), (std::vector<Rec>{{15, 15}}));
    EXPECT_EQ(Slots(st, 2), (std::vector<Rec>{{25, 15}, {26, 16}}));
    // The program line comes back as a remark of its own.
    ASSERT_EQ(st.MapCommentCount, 2);
    EXPECT_EQ(st.MapComments[1], "Velmot.exe version 1.22");
    EXPECT_EQ(sjis::ToUnicode(st.MapComments[2]), QStringLiteral("第一版"));
    EXPECT_EQ(st.KindsToVector(), w.st().KindsToVector());

    // Every segment of the outlines and lines once; the auxiliary line lives
    // only in the kind list.
    const auto segs = Segments(st);
    const std::multiset<std::pair<std::pair<int, int>, std::pair<int, int>>> expected = {
        {{10, 10}, {20, 10}}, {{20, 10}, {20, 20}}, {{10, 20}, {20, 20}}, {{10, 10}, {10, 20}},
        {{20, 10}, {30, 10}}, {{30, 10}, {30, 20}}, {{20, 20}, {30, 20}}, {{40, 40}, {50, 50}}};
    EXPECT_EQ(segs, expected);
    EXPECT_EQ(st.Point(0), (Rec{0, 0}));
    EXPECT_EQ(st.Point(st.PointLast), (Rec{0, 0}));

    EXPECT_FALSE(st.Modified);
    EXPECT_FALSE(st.Completed);
    EXPECT_FALSE(st.Composed);
    EXPECT_FALSE(st.BasePicLoaded);
    EXPECT_TRUE(st.BasePicShown);
    EXPECT_EQ(st.Mode, Mode::Input);
    EXPECT_TRUE(r.ui.Enabled(Cmd::ZoneArrange));
    EXPECT_TRUE(r.ui.Enabled(Cmd::ReMakeLine));
    EXPECT_EQ(r.ui.scroll, QPoint(0, 0));

    // Written and read again, the program line is added once more.
    EditMap(r.ed, [&](Store& s_) { s_.Completed = true; });
    r.ui.files = {r.Path("again.idt")};
    r.ui.onTitleDialog = [](TitleFields& f) { return !f.remarks.isEmpty(); };
    r.ed.finishedMaps.WriteMapClick();
    TestEditor r2;
    ASSERT_TRUE(r2.ed.finishedMaps.ReadFinishedMap(r.Path("again.idt")));
    EXPECT_EQ(r2.st().MapCommentCount, 3);
    EXPECT_EQ(r2.st().MapComments[2], "Velmot.exe version 1.22");
}

TEST(IdtReader, MagnificationIsNotUndone) {
    TestEditor w;
    FillComposed(w);
    w.ui.files = {w.Path("twice.idt")};
    AnswerTitle(w, "t", "2");
    w.ed.finishedMaps.WriteMapClick();
    TestEditor r;
    ASSERT_TRUE(r.ed.finishedMaps.ReadFinishedMap(w.Path("twice")));  // ".idt" is added
    EXPECT_EQ(r.st().LegendX, 120);
    EXPECT_EQ(Slots(r.st(), 2), (std::vector<Rec>{{50, 30}, {52, 32}}));
    EXPECT_EQ(Segments(r.st()).count({{80, 80}, {100, 100}}), 1u);
    EXPECT_EQ(r.st().KindRec(1), (Rec{40, 20}));
}

TEST(IdtReader, LenientTextPart) {
    TestEditor t;
    QByteArray file = Header(
        "T\n"
        "@rem first\r\n"
        "@REM made by velmot 2\r\n"
        "@indexposition= 5 , 6\r\n"
        "name=\r\n"
        "\r\n"
        "A= +5,$1F/ 7x,-3 ;c\r\n"
        "@Rem \r\n"
        "@resolution=1,2\r\n"
        "@Other=3\r\n"
        "@startofpoints\r\n");
    file += QByteArray::fromHex("00000000 01000100 02000200 0000");
    WriteFile(t.Path("l.idt"), file);
    ASSERT_TRUE(t.ed.finishedMaps.ReadFinishedMap(t.Path("l.idt")));
    const Store& st = t.st();
    EXPECT_EQ(st.MapTitle, "T");
    ASSERT_EQ(st.MapCommentCount, 1);
    EXPECT_EQ(st.MapComments[1], "first");
    EXPECT_EQ(st.LegendX, 5);
    EXPECT_EQ(st.LegendY, 6);
    ASSERT_EQ(st.AreaCount, 3);
    EXPECT_EQ(st.AreaName(1), "name");
    EXPECT_TRUE(Slots(st, 1).empty());
    EXPECT_EQ(st.AreaName(2), "");
    EXPECT_TRUE(Slots(st, 2).empty());
    EXPECT_EQ(st.AreaName(3), "A");
    EXPECT_EQ(Slots(st, 3), (std::vector<Rec>{{5, 31}, {7, -3}}));
    // A trailing part of a record is ignored, the open chain closed.
    EXPECT_EQ(st.PointsToVector(), (std::vector<Rec>{{0, 0}, {1, 1}, {2, 2}, {0, 0}}));
    EXPECT_EQ(st.KindLast, -1);
}

TEST(IdtReader, AtMostTwentyRemarks) {
    TestEditor t;
    QByteArray file = "T\r\n";
    for (int i = 1; i <= 25; ++i) file += "@Rem " + QByteArray::number(i) + "\r\n";
    file += "@StartOfPoints\r\n" + QByteArray(4, '\0');
    WriteFile(t.Path("r.idt"), file);
    ASSERT_TRUE(t.ed.finishedMaps.ReadFinishedMap(t.Path("r.idt")));
    EXPECT_EQ(t.st().MapCommentCount, 20);
    EXPECT_EQ(t.st().MapComments[20], "20");
}

TEST(IdtReader, KindGroupsAreSeparatedByTheirHeaders) {
    std::vector<Rec> pts = {{0, 0}, {1, 1},  {2, 2}, {0, 0}, {0, -9}, {3, 3},
                            {4, 4}, {0, -8}, {5, 5}, {6, 6}, {0, -1}, {7, 7}};
    std::vector<Rec> kinds;
    idt::SeparateKinds(pts, kinds);
    EXPECT_EQ(kinds, (std::vector<Rec>{
                         {0, -9}, {3, 3}, {4, 4}, {0, -8}, {5, 5}, {6, 6}, {0, -1}, {7, 7}}));
    EXPECT_EQ(pts, (std::vector<Rec>{{0, 0},
                                     {1, 1},
                                     {2, 2},
                                     {0, 0},
                                     {0, 0},
                                     {3, 3},
                                     {4, 4},
                                     {0, 0},
                                     {0, 0},
                                     {0, 0},
                                     {0, 0},
                                     {7, 7}}));
}

TEST(IdtReader, HostileFilesLeaveTheWorkAlone) {
    auto prepare = [](TestEditor& t) {
        t.Chain({{10, 10}, {20, 20}});
        EditMap(t.ed, [&](Store& s_) {
            s_.AreaCount = 1;
            s_.SetAreaName(1, "keep");
            s_.MapTitle = "mine";
            s_.LegendX = 1;
        });
    };
    auto untouched = [](TestEditor& t) {
        EXPECT_EQ(t.st().PointLast, 3);
        EXPECT_EQ(t.st().AreaCount, 1);
        EXPECT_EQ(t.st().AreaName(1), "keep");
        EXPECT_EQ(t.st().MapTitle, "mine");
        EXPECT_EQ(t.st().LegendX, 1);
        EXPECT_TRUE(t.st().IdtFileName.isEmpty());
    };
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* mentions;
    } cases[] = {
        {"nostart.idt", "T\r\nA=1,2\r\n@StartOf", "@StartOfPoints"},
        {"empty.idt", "", ""},
        {"binary.idt", QByteArray::fromHex("00ff10203040506070"), "@StartOfPoints"},
        // A cut-off last record is no point at (20, 0): the file is damaged.
        {"odd.idt", "T\r\n@StartOfPoints\r\n" + QByteArray::fromHex("000000000a000a0014"),
         "1 バイト"},
    };
    for (const auto& c : cases) {
        TestEditor t;
        prepare(t);
        WriteFile(t.Path(c.name), c.bytes);
        EXPECT_FALSE(t.ed.finishedMaps.ReadFinishedMap(t.Path(c.name))) << c.name;
        ASSERT_EQ(t.ui.messages.size(), 1u) << c.name;
        EXPECT_TRUE(t.ui.messages[0].text.contains(t.Path(c.name)));
        EXPECT_TRUE(t.ui.messages[0].text.contains(QString::fromUtf8(c.mentions)));
        untouched(t);
    }

    TestEditor missing;
    prepare(missing);
    EditMap(missing.ed, [&](Store& s_) { s_.Modified = true; });
    missing.ui.saveChoices = {SaveChoice::Discard};
    missing.ui.files = {missing.Path("none.idt")};
    missing.ed.finishedMaps.ReadMapClick();
    ASSERT_EQ(missing.ui.messages.size(), 2u);  // discard question, then not found
    EXPECT_TRUE(missing.ui.messages[1].text.contains(missing.Path("none.idt")));
    untouched(missing);

    // A binary part beyond capacity is refused before anything is allocated
    // (the file is sparse, so it costs no disk).
    TestEditor big;
    prepare(big);
    const QString path = big.Path("big.idt");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("T\r\n@StartOfPoints\r\n");
        ASSERT_TRUE(f.resize(f.size() + qint64(Store::Capacity) * 4 + 4));
    }
    EXPECT_FALSE(big.ed.finishedMaps.ReadFinishedMap(path));
    ASSERT_EQ(big.ui.messages.size(), 1u);
    EXPECT_TRUE(big.ui.messages[0].text.contains(QString::number(Store::Capacity + 1)));
    untouched(big);

    // At the limit, with a point first and last: the two separators the reader
    // adds would not fit, and the map is refused rather than read as empty.
    TestEditor edge;
    prepare(edge);
    const QString edgePath = edge.Path("edge.idt");
    {
        QFile f(edgePath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("T\r\n@StartOfPoints\r\n");
        f.write(QByteArray::fromHex("00010500"));  // (256, 5)
        ASSERT_TRUE(f.resize(f.size() + qint64(Store::Capacity - 3) * 4));
        ASSERT_TRUE(f.seek(f.size()));
        f.write(QByteArray::fromHex("0a000a00"));  // (10, 10)
    }
    EXPECT_FALSE(edge.ed.finishedMaps.ReadFinishedMap(edgePath));
    ASSERT_EQ(edge.ui.messages.size(), 1u);
    EXPECT_TRUE(edge.ui.messages[0].text.contains(QString::number(Store::Capacity + 1)));
    untouched(edge);
}

TEST(IdtReader, LongNamesAndTooManyAreasAreCutWithANote) {
    TestEditor t;
    QByteArray file = "T\r\n";
    file += sjis::FromUnicode(QStringLiteral("あいうえおかきくけこ=5,5\r\n")).c_str();
    for (int i = 2; i <= Store::MaxAreas + 3; ++i) file += "a" + QByteArray::number(i) + "=1,1\r\n";
    file += "@StartOfPoints\r\n" + QByteArray(4, '\0');
    WriteFile(t.Path("n.idt"), file);
    ASSERT_TRUE(t.ed.finishedMaps.ReadFinishedMap(t.Path("n.idt")));
    EXPECT_EQ(t.st().AreaCount, Store::MaxAreas);
    EXPECT_EQ(sjis::ToUnicode(t.st().AreaName(1)), QStringLiteral("あいうえおかきくけ"));
    EXPECT_EQ(t.st().AreaName(Store::MaxAreas), "a3440");
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_TRUE(t.ui.messages[0].text.contains(QStringLiteral("2 行目")));
    EXPECT_TRUE(t.ui.messages[0].text.contains(QStringLiteral("3 行")));
}

TEST(IdtReader, SurfaceGrowsToTheMap) {
    TestEditor t(200, 100);
    QByteArray file = "T\r\n@StartOfPoints\r\n";
    file += QByteArray::fromHex("00000000 0a000a00 2c01fa00 00000000");  // (10,10)-(300,250)
    WriteFile(t.Path("g.idt"), file);
    ASSERT_TRUE(t.ed.finishedMaps.ReadFinishedMap(t.Path("g.idt")));
    EXPECT_GE(t.ed.surf.Width(), 301);
    EXPECT_GE(t.ed.surf.Height(), 251);
    EXPECT_EQ(t.st().MapWidth, t.ed.surf.Width());
    EXPECT_EQ(t.st().MapHeight, t.ed.surf.Height());
}

TEST(IdtReader, ParserSurvivesTruncationsOfAGoodFile) {
    TestEditor w;
    FillComposed(w);
    w.ui.files = {w.Path("cut.idt")};
    AnswerTitle(w, "t", "1.0");
    w.ed.finishedMaps.WriteMapClick();
    const QByteArray whole = FileBytes(w.Path("cut.idt"));
    ASSERT_FALSE(whole.isEmpty());
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        QByteArray part = whole.left(n);
        QBuffer buf(&part);
        buf.open(QIODevice::ReadOnly);
        idt::IdtContent c;
        QString error;
        if (idt::ParseIdt(buf, c, error)) {
            EXPECT_EQ(c.points.front(), (Rec{0, 0}));
            EXPECT_EQ(c.points.back().x, 0);
        } else {
            EXPECT_FALSE(error.isEmpty());
        }
    }
}
