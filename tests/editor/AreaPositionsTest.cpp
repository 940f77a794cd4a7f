#include <gtest/gtest.h>

#include "editor/tools/Tools.h"
#include "support/FakeUi.h"

namespace {
// Two closed squares side by side and a third area without a region.
struct PosFixture : ::testing::Test {
    TestEditor t{200, 120};
    void SetUp() override {
        t.Chain({{10, 10}, {60, 10}, {60, 60}, {10, 60}, {10, 10}});
        t.Chain({{100, 10}, {150, 10}, {150, 60}, {100, 60}, {100, 10}});
        EditMap(t.ed, [&](Store& s_) {
            s_.AreaCount = 3;
            s_.SetAreaName(1, "A");
            s_.AreaPos(0, 1) = {30, 30};
            s_.AreaPos(1, 1) = {0, 0};
            s_.SetAreaName(2, "B");
            s_.AreaPos(0, 2) = {0, 0};
            s_.SetAreaName(3, "C");
            s_.AreaPos(0, 3) = {0, 0};
            s_.Completed = true;
        });
    }
    uint8_t Px(int x, int y) { return t.ed.surf.Pixel(x, y); }
    std::vector<Rec> Slots(int a) {
        std::vector<Rec> v;
        for (int k = 0; k < Store::Slots && t.st().AreaPos(k, a).x != 0; ++k)
            v.push_back(t.st().AreaPos(k, a));
        return v;
    }
};
}  // namespace

TEST_F(PosFixture, OpensOnAreaOneWithItsRegionsPainted) {
    t.ed.areaPositions.ZoneArrangeClick();
    EXPECT_EQ(t.st().Mode, Mode::AreaPosition);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::Arrow);
    EXPECT_FALSE(t.st().Completed);
    EXPECT_EQ(t.ui.zpotNames, (QStringList{"A", "B", "C"}));
    EXPECT_EQ(t.ui.zpotSelected, 0);
    EXPECT_EQ(t.ui.zpotBoxes[0], QStringLiteral("30,30"));
    EXPECT_EQ(t.ui.zpotBoxes[1], QString());
    EXPECT_EQ(Px(20, 20), Aqua);    // the selected area's region
    EXPECT_EQ(Px(30, 30), Navy);    // its position mark
    EXPECT_EQ(Px(10, 30), White);   // the lines bound the fill
    EXPECT_EQ(Px(120, 30), Black);  // a region nobody claims
    EXPECT_EQ(Px(80, 90), Black);

    // Select B, close, reopen: the dialog starts on area 1 again.
    t.ed.areaPositions.ZpotListClick(1);
    EXPECT_EQ(Px(20, 20), Navy);  // A is no longer selected
    ASSERT_TRUE(t.ed.areaPositions.ZpotClose());
    EXPECT_EQ(t.st().Mode, Mode::Input);
    t.ed.areaPositions.ZoneArrangeClick();
    EXPECT_EQ(t.ui.zpotSelected, 0);
    EXPECT_EQ(t.ed.areaPositions.ZpotSelected, 1);
}

TEST_F(PosFixture, ClicksFillTheFirstEmptyBoxAndReachTheTableOnSelection) {
    t.ed.areaPositions.ZoneArrangeClick();
    t.ed.areaPositions.ZpotListClick(1);
    t.ed.MouseDown(Qt::LeftButton, 120, 30);
    EXPECT_EQ(t.ui.zpotBoxes[0], QStringLiteral("120,30"));
    EXPECT_EQ(Px(110, 20), Aqua);
    EXPECT_EQ(Px(120, 30), Navy);
    EXPECT_TRUE(Slots(2).empty());  // not yet taken over

    // A click on a line pixel fills nothing but still gives a box.
    t.ed.MouseDown(Qt::LeftButton, 100, 30);
    EXPECT_EQ(t.ui.zpotBoxes[1], QStringLiteral("100,30"));
    EXPECT_EQ(Px(80, 30), Black);

    t.ed.areaPositions.ZpotListClick(2);
    EXPECT_EQ(Slots(2), (std::vector<Rec>{{120, 30}, {100, 30}}));
    EXPECT_EQ(t.ui.zpotBoxes[0], QString());
}

TEST_F(PosFixture, APositionInAnotherAreasRegionIsAskedFirst) {
    t.ed.areaPositions.ZoneArrangeClick();
    t.ed.areaPositions.ZpotListClick(1);  // B
    t.ui.answers = {false};
    t.ed.MouseDown(Qt::LeftButton, 40, 40);  // A's square
    EXPECT_EQ(t.ui.LastText(), QStringLiteral("この区画には「A」の位置があります。\n「B」の位置もここに置きますか？"));
    EXPECT_EQ(t.ui.zpotBoxes[0], QString());
    t.ui.answers = {true};
    t.ed.MouseDown(Qt::LeftButton, 40, 40);
    EXPECT_EQ(t.ui.zpotBoxes[0], QStringLiteral("40,40"));
    // A free square asks nothing.
    const size_t asked = t.ui.messages.size();
    t.ed.MouseDown(Qt::LeftButton, 120, 30);
    EXPECT_EQ(t.ui.messages.size(), asked);
    EXPECT_EQ(t.ui.zpotBoxes[1], QStringLiteral("120,30"));
}

TEST_F(PosFixture, RepaintClosesUpDeletedBoxes) {
    t.ed.areaPositions.ZoneArrangeClick();
    t.ed.MouseDown(Qt::LeftButton, 120, 30);
    t.ed.MouseDown(Qt::LeftButton, 130, 40);
    auto boxes = t.ui.zpotBoxes;
    ASSERT_EQ(boxes[2], QStringLiteral("130,40"));
    boxes[1].clear();
    t.ui.zpotBoxes = boxes;
    t.ed.areaPositions.ZpotRedrawClick();
    EXPECT_EQ(Slots(1), (std::vector<Rec>{{30, 30}, {130, 40}}));
    EXPECT_EQ(t.st().AreaPos(2, 1), (Rec{0, 0}));
    EXPECT_EQ(Px(140, 50), Aqua);  // A now has both squares
}

TEST_F(PosFixture, NineBoxesShowNinePositionsAndKeepTheTenth) {
    EditMap(t.ed, [&](Store& s_) {
        for (int k = 0; k < 10; ++k) s_.AreaPos(k, 1) = {int16_t(20 + k), 20};
        s_.AreaPos(10, 1) = {0, 0};
    });
    t.ed.areaPositions.ZoneArrangeClick();
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(t.ui.zpotBoxes[size_t(k)], QStringLiteral("%1,20").arg(20 + k));

    // With all nine boxes full a click only fills.
    const auto before = t.ui.zpotBoxes;
    t.ed.MouseDown(Qt::LeftButton, 120, 30);
    EXPECT_EQ(t.ui.zpotBoxes, before);
    EXPECT_EQ(Px(110, 20), Aqua);

    // Selecting another area takes the boxes over; the unseen tenth stays.
    t.ed.areaPositions.ZpotListClick(1);
    EXPECT_EQ(Slots(1).size(), 10u);
    EXPECT_EQ(t.st().AreaPos(9, 1), (Rec{29, 20}));

    // Emptying a box moves it up into view, where later take-overs see it.
    t.ed.areaPositions.ZpotListClick(0);
    auto boxes = t.ui.zpotBoxes;
    boxes[2].clear();
    t.ui.zpotBoxes = boxes;
    t.ed.areaPositions.ZpotRedrawClick();
    EXPECT_EQ(t.ui.zpotBoxes[8], QStringLiteral("29,20"));
    ASSERT_TRUE(t.ed.areaPositions.ZpotClose());
    EXPECT_EQ(Slots(1).size(), 9u);
    EXPECT_EQ(t.st().AreaPos(8, 1), (Rec{29, 20}));
}

TEST_F(PosFixture, ABoxThatDoesNotParseKeepsTheDialogOpen) {
    t.ed.areaPositions.ZoneArrangeClick();
    auto boxes = t.ui.zpotBoxes;
    boxes[1] = QStringLiteral("40;40");
    t.ui.zpotBoxes = boxes;
    EXPECT_FALSE(t.ed.areaPositions.ZpotClose());
    EXPECT_EQ(t.st().Mode, Mode::AreaPosition);
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_TRUE(t.ui.LastText().contains(QStringLiteral("40;40")));
    EXPECT_EQ(Slots(1), (std::vector<Rec>{{30, 30}}));

    // Changing the selection is refused as well, and the list stays put.
    t.ed.areaPositions.ZpotListClick(2);
    EXPECT_EQ(t.ed.areaPositions.ZpotSelected, 1);
    EXPECT_EQ(t.ui.zpotSelected, 0);

    boxes[1] = QStringLiteral(" 40, 45");
    t.ui.zpotBoxes = boxes;
    EXPECT_TRUE(t.ed.areaPositions.ZpotClose());
    EXPECT_EQ(Slots(1), (std::vector<Rec>{{30, 30}, {40, 45}}));
    EXPECT_EQ(t.st().Mode, Mode::Input);
}

TEST(Legend, PlacedByOneClickAndDrawn) {
    TestEditor t(300, 300);
    t.ed.modeCommands.IndexPosClick();
    EXPECT_EQ(t.st().Mode, Mode::Legend);
    EXPECT_EQ(t.ui.cursor, SurfaceCursor::IndexPosition);
    EXPECT_EQ(t.ui.attached, Popup::None);

    t.ed.MouseDown(Qt::LeftButton, 0, 37);
    EXPECT_EQ(t.st().LegendX, 0);
    EXPECT_EQ(t.st().LegendY, 37);
    EXPECT_EQ(t.st().Mode, Mode::Input);
    EXPECT_EQ(t.ed.surf.Pixel(0, 37), Silver);
    EXPECT_EQ(t.ed.surf.Pixel(99, 136), Silver);
    EXPECT_EQ(t.ed.surf.Pixel(50, 80), Black);
    EXPECT_NE(t.ed.surf.Pixel(100, 137), Silver);
}

TEST(Legend, WritingRefusedUntilPlaced) {
    TestEditor t;
    t.Chain({{10, 10}, {20, 20}});
    t.ed.finishedMaps.WriteMapClick();
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, QStringLiteral("凡例位置の設定が行われていません。"));
    EXPECT_EQ(t.ui.messages[0].caption, QStringLiteral("警告"));
    EXPECT_TRUE(t.ui.fileFilters.empty());
}
