// The composition as the menu command runs it: preparation, flags, command
// states, messages with the view centred, and the real world map.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <array>

#include "compose/ComposeSupport.h"
#include "formats/IdtWriter.h"
#include "support/FakeUi.h"
#include "support/MapGenerator.h"

using namespace ctest;

namespace {
int ComposeMessages(const FakeUi& ui) {
    int n = 0;
    for (const ShownMessage& m : ui.messages) n += m.kind == ShownMessage::Compose;
    return n;
}
}  // namespace

TEST(ReMakeLine, DoesNothingWithoutLinesOrAreas) {
    TestEditor t;
    EditMap(t.ed, [&](Store& s_) {
        AddChain(s_, {{10, 10}, {50, 10}});
    });  // PointLast = 3 but no areas
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    t.ed.composer.ReMakeLineClick();
    TestEditor u;
    EditMap(u.ed, [&](Store& s_) {
        AddArea(s_, "一", {{20, 20}});
        s_.AppendPoint(10, 10);
    });
    EditMap(u.ed, [&](Store& s_) { s_.AppendPoint(20, 10); });  // PointLast = 2
    u.ed.composer.ReMakeLineClick();
    for (TestEditor* e : {&t, &u}) {
        EXPECT_TRUE(e->ui.messages.empty());
        EXPECT_FALSE(e->ui.busy);
        EXPECT_EQ(e->st().Composed, false);
        EXPECT_EQ(e->ed.surf.Pixel(10, 10), Black);  // nothing painted
    }
    EXPECT_TRUE(t.st().Completed);
    EXPECT_EQ(t.st().PointLast, 3);
    EXPECT_EQ(u.st().PointLast, 2);
}

TEST(ReMakeLine, ComposesAfterRemovingDoubledLinesAndSetsTheCommandStates) {
    TestEditor t;
    EditMap(t.ed, [&](Store& s_) { TwoRooms(s_); });
    EditMap(t.ed, [&](Store& s_) {
        AddChain(s_, {{60, 60}, {60, 35}});
    });  // half the wall traced twice
    EditMap(t.ed, [&](Store& s_) {
        AddArea(s_, "左", {{35, 35}});
        AddArea(s_, "右", {{85, 35}});
    });
    // An unfinished chain: the composition ends it first.
    EditMap(t.ed, [&](Store& s_) {
        s_.AppendPoint(150, 150);
        s_.AppendPoint(180, 150);
        s_.KindLast = -1;
    });
    for (Rec r : {Rec{0, -1}, Rec{10, 10}, Rec{60, 10}, Rec{0, -1}, Rec{110, 10}, Rec{60, 10}})
        EditMap(t.ed, [&](Store& s_) { s_.SetKind(++s_.KindLast, r); });
    EditMap(t.ed, [&](Store& s_) { s_.Mode = Mode::Edit; });
    t.ed.composer.ReMakeLineClick();

    const auto chains = Chains(t.Points());
    ASSERT_EQ(chains.size(), 3u);
    EXPECT_TRUE(SameCycle(chains[0], kLeftRoom));
    EXPECT_TRUE(SameCycle(chains[1], kRightRoom));
    EXPECT_EQ(chains[2], (Chain{{150, 150}, {180, 150}}));
    EXPECT_EQ(t.st().KindsToVector(), (std::vector<Rec>{{0, -1}, {10, 10}, {60, 10}, {110, 10}}));
    EXPECT_TRUE(t.st().Completed);
    EXPECT_TRUE(t.st().Composed);
    EXPECT_FALSE(t.ui.Enabled(Cmd::ReMakeLine));
    EXPECT_FALSE(t.ui.Enabled(Cmd::SpRemake));
    EXPECT_TRUE(t.ui.Enabled(Cmd::WriteMap));
    EXPECT_EQ(t.st().Mode, Mode::Input);
    EXPECT_FALSE(t.ui.progressVisible);
    EXPECT_FALSE(t.ui.busy);
    EXPECT_EQ(ComposeMessages(t.ui), 0);
    // The normal view is back: magenta lines, no composition colours.
    EXPECT_EQ(t.ed.surf.Pixel(60, 20), Magenta);
    EXPECT_EQ(t.ed.surf.Pixel(35, 35), Black);
}

TEST(ReMakeLine, APositionOnALineIsReportedByNameWithTheViewCentredOnIt) {
    TestEditor t(2000, 1500);
    EditMap(t.ed, [&](Store& s_) {
        AddChain(s_, {{900, 700}, {1100, 700}, {1100, 900}, {900, 900}, {900, 700}});
        AddArea(s_, "内", {{1000, 800}});
        AddArea(s_, "線上の区域", {{1000, 900}});
    });
    t.ed.composer.ReMakeLineClick();
    ASSERT_EQ(ComposeMessages(t.ui), 1);
    EXPECT_EQ(t.ui.LastText(),
              QStringLiteral("(赤の)領域「線上の区域」の開始点がみつけられませんでした。"));
    EXPECT_EQ(t.ui.scroll, QPoint(1000 - 400, 900 - 300));
    EXPECT_FALSE(t.st().Completed);
    EXPECT_FALSE(t.st().Composed);
    EXPECT_TRUE(t.ui.Enabled(Cmd::ReMakeLine));
    // The list keeps its normalised form: one ring, ending with a separator.
    EXPECT_EQ(Chains(t.Points()).size(), 1u);
    EXPECT_EQ(t.Points().back(), Rec{});
    EXPECT_FALSE(t.ui.progressVisible);
}

TEST(ReMakeLine, AnOpenOutlineAndALostWayAreReported) {
    {
        TestEditor t;
        EditMap(t.ed, [&](Store& s_) {
            AddChain(s_, {{10, 15}, {10, 60}, {110, 60}, {110, 10}, {10, 10}});
            AddArea(s_, "開いた区域", {{50, 35}});
        });
        t.ed.composer.ReMakeLineClick();
        EXPECT_EQ(t.ui.LastText(), QStringLiteral("赤の区域(開いた区域)は閉じていません。"));
        EXPECT_FALSE(t.st().Completed);
        // The open region stays red over the redrawn map until the next
        // command, which finds the map as it was.
        EXPECT_EQ(t.ed.surf.Pixel(60, 40), Red);
        EXPECT_EQ(t.ed.surf.Pixel(200, 200), Red);
        t.ed.Command(Cmd::BuildMode);
        EXPECT_NE(t.ed.surf.Pixel(60, 40), Red);
        EXPECT_NE(t.ed.surf.Pixel(200, 200), Red);
    }
    {
        // A pocket at a sharp corner whose outline neither walk finds.
        TestEditor t;
        EditMap(t.ed, [&](Store& s_) {
            AddChain(s_, {{11, 13}, {2, 10}, {8, 5}, {11, 13}});
            AddChain(s_, {{11, 13}, {11, 9}, {8, 5}});
            AddArea(s_, "隙間", {{10, 12}});
        });
        t.ed.composer.ReMakeLineClick();
        ASSERT_EQ(ComposeMessages(t.ui), 1);
        EXPECT_EQ(
            t.ui.LastText(),
            QStringLiteral("赤の区域(隙間)の境界線をたどれませんでした。開始線分 (11,9)-(11,13)"));
        EXPECT_FALSE(t.st().Completed);
        EXPECT_FALSE(t.st().Composed);
    }
    {
        // A spur that runs along the ring from its corner: two branches leave
        // (110,10) in the same direction.
        TestEditor t;
        EditMap(t.ed, [&](Store& s_) {
            AddChain(s_, {{10, 10}, {110, 10}, {110, 60}, {10, 60}, {10, 10}});
            AddChain(s_, {{110, 10}, {110, 30}});
            AddArea(s_, "迷", {{50, 35}});
        });
        t.ed.composer.ReMakeLineClick();
        ASSERT_EQ(ComposeMessages(t.ui), 1);
        EXPECT_EQ(t.ui.LastText(), QStringLiteral("あれ,分岐点（赤の点）で道に迷いました。"));
        EXPECT_FALSE(t.st().Completed);
        EXPECT_FALSE(t.st().Composed);
    }
}

namespace {
const QString kWorld = QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.vlm");

// Every closed chain of a composed world map against the reference: the n-th
// chain is one of the rings of the n-th entry.
void ExpectWorldOutlines(const std::vector<Rec>& points) {
    QFile f(QStringLiteral(VELMOT_SOURCE_DIR "/tests/data/world-50m.expected.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonArray entries = QJsonDocument::fromJson(f.readAll()).object()["entries"].toArray();
    ASSERT_EQ(entries.size(), 366);
    const auto chains = Chains(points);
    ASSERT_GE(chains.size(), 366u);
    for (int n = 0; n < 366; ++n) {
        const QJsonArray rings = entries[n].toObject()["rings"].toArray();
        bool found = false;
        for (const QJsonValue& ring : rings) {
            Chain want;
            for (const QJsonValue& p : ring.toObject()["points"].toArray())
                want.push_back(
                    Rec{int16_t(p.toArray()[0].toInt()), int16_t(p.toArray()[1].toInt())});
            found = found || SameCycle(chains[size_t(n)], want);
        }
        EXPECT_TRUE(found) << "chain " << n << " ("
                           << entries[n].toObject()["name"].toString().toStdString() << ")";
    }
}
}  // namespace

TEST(ReMakeLine, TheWorldMapClosesEveryOutlineAsTheReferenceHasIt) {
    TestEditor t(7500, 3500);
    ASSERT_TRUE(t.ed.files.LoadWorkFile(kWorld));
    t.ed.composer.ReMakeLineClick();
    ASSERT_TRUE(t.st().Completed) << t.ui.LastText().toStdString();
    ExpectWorldOutlines(t.Points());
}

namespace {
// Writes t's finished map and reads it into u.
void ReadBack(TestEditor& t, TestEditor& u) {
    idt::WriteValues v;
    ASSERT_TRUE(idt::ReadTitleFields(
                    idt::DefaultTitleFields(t.st(), QDateTime(QDate(2026, 12, 7), QTime(10, 0))), v)
                    .isEmpty());
    const QString path = t.Path(QStringLiteral("map.idt"));
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_TRUE(idt::WriteIdt(out, t.st(), v));
    }
    ASSERT_TRUE(u.ed.finishedMaps.ReadFinishedMap(path));
}
}  // namespace

TEST(ReMakeLine, TheWorldMapReadBackFromItsFinishedFileComposesTheSameOutlines) {
    // The finished file holds the same segments in another chain order; there
    // a start segment's side test picks the wrong side once, and the walk must
    // turn round instead of tracing the neighbour's outline.
    TestEditor t(7500, 3500);
    ASSERT_TRUE(t.ed.files.LoadWorkFile(kWorld));
    t.ed.composer.ReMakeLineClick();
    ASSERT_TRUE(t.st().Completed) << t.ui.LastText().toStdString();
    TestEditor u(7500, 3500);
    ReadBack(t, u);
    u.ed.composer.ReMakeLineClick();
    ASSERT_TRUE(u.st().Completed) << u.ui.LastText().toStdString();
    ExpectWorldOutlines(u.Points());
}

TEST(ReMakeLine, AnAreaAroundAnotherReadBackIsTracedAlongItsOuterRingAgain) {
    // The county's outer ring comes first in the drawn list, so its first
    // walk is right. The finished file lists the outlines area by area, the
    // city's first: read back, the county's first bordering segment is the
    // city's ring, and only another start reaches the outer ring.
    TestEditor t(200, 150);
    EditMap(t.ed, [&](Store& s_) {
        AddChain(s_, {{10, 10}, {110, 10}, {110, 100}, {10, 100}, {10, 10}});
        AddChain(s_, {{50, 40}, {70, 40}, {70, 60}, {50, 60}, {50, 40}});
        AddArea(s_, "市", {{60, 50}});
        AddArea(s_, "郡", {{30, 50}});
    });
    t.ed.composer.ReMakeLineClick();
    ASSERT_TRUE(t.st().Completed) << t.ui.LastText().toStdString();
    const auto composed = Chains(t.Points());
    TestEditor u(200, 150);
    ReadBack(t, u);
    u.ed.composer.ReMakeLineClick();
    ASSERT_TRUE(u.st().Completed) << u.ui.LastText().toStdString();
    const auto again = Chains(u.Points());
    ASSERT_EQ(again.size(), composed.size());
    for (size_t i = 0; i < again.size(); ++i) EXPECT_TRUE(SameCycle(again[i], composed[i])) << i;
}

TEST(ReMakeLine, WithNobodyLookingTheOutcomeIsTheSame) {
    // The batch tool's editor skips the redraws only the eye would read; on a
    // sound map, a map with a gap and one whose legend sticks out of the
    // extent, it must compose (or fail) exactly as the window's editor does.
    for (int variant = 0; variant < 3; ++variant) {
        MapRecipe recipe;
        recipe.cells = 60;
        recipe.kinds = true;
        recipe.seed = uint32_t(5 + variant);
        if (variant == 1) recipe.damage = MapRecipe::Gap;
        std::array<TestEditor, 2> eds;
        for (int unseen = 0; unseen < 2; ++unseen) {
            TestEditor& t = eds[size_t(unseen)];
            t.ed.canvas.surfaceUnseen = unseen == 1;
            const GeneratedMap g = GenerateMap(recipe, t.ed);
            if (variant == 2) t.ed.doc.PlaceLegend(int16_t(g.width - 40), 5);
            ReDraw(t.ed.bench);
            t.ed.composer.ReMakeLineClick();
        }
        EXPECT_EQ(eds[0].Points(), eds[1].Points()) << variant;
        EXPECT_EQ(eds[0].st().KindsToVector(), eds[1].st().KindsToVector()) << variant;
        EXPECT_EQ(eds[0].st().Completed, variant != 1);
        EXPECT_EQ(eds[1].st().Completed, variant != 1);
        ASSERT_EQ(eds[0].ui.messages.size(), eds[1].ui.messages.size()) << variant;
        for (size_t i = 0; i < eds[0].ui.messages.size(); ++i)
            EXPECT_EQ(eds[0].ui.messages[i].text, eds[1].ui.messages[i].text);
    }
}
