#include <gtest/gtest.h>

#include "editor/tools/Tools.h"
#include "support/FakeUi.h"

namespace {

Rec R(int x, int y) {
    return Rec{int16_t(x), int16_t(y)};
}
Rec H(int code) {
    return Rec{0, int16_t(code)};
}
const Rec Sep{0, 0};
using List = std::vector<Rec>;

// An editor in line-kind mode; Mark clicks a line and picks a popup item, as
// the user does (the left press opens the popup at once).
struct KindFixture : TestEditor {
    void Enter() { ed.modeCommands.LineKindModeClick(); }
    void Mark(int x, int y, Cmd item) {
        ed.canvas.ShowKinds();
        ui.shown = Popup::None;
        ed.MouseDown(Qt::LeftButton, x, y);
        ASSERT_EQ(ui.shown, Popup::BtnLKindMode) << "no popup at " << x << "," << y;
        ASSERT_TRUE(ui.Enabled(item)) << CmdName(item);
        ed.Command(item);
    }
    List Kinds() const { return ed.st.KindsToVector(); }
};

// Three chains joined at two junctions: (30,50) and (70,50).
void Junctions(KindFixture& t) {
    t.Chain({{10, 50}, {30, 50}, {50, 50}, {70, 50}, {90, 50}});
    t.Chain({{30, 10}, {30, 50}});
    t.Chain({{70, 50}, {70, 90}});
}

}  // namespace

TEST(LineKinds, PopupFollowsThePixelColour) {
    KindFixture t;
    t.Chain({{10, 10}, {50, 10}});
    t.Chain({{10, 30}, {50, 30}});
    t.Chain({{10, 60}, {50, 60}});
    t.Chain({{10, 90}, {50, 90}});
    t.Enter();
    t.Mark(30, 30, Cmd::SecLine);
    t.Mark(30, 60, Cmd::AbsLine);
    t.Mark(30, 90, Cmd::AstLine);
    t.ed.canvas.ShowKinds();
    struct {
        int y;
        Cmd only;
    } lines[] = {
        {10, Cmd::SecLine}, {30, Cmd::RelSecLine}, {60, Cmd::RelAbsLine}, {90, Cmd::RelAstLine}};
    for (auto l : lines) {
        t.ui.shown = Popup::None;
        t.ed.MouseDown(Qt::RightButton, 30, l.y);
        EXPECT_EQ(t.ui.attached, Popup::BtnLKindMode) << l.y;
        EXPECT_EQ(t.ui.shown, Popup::None) << "the right button only attaches";
        EXPECT_EQ(t.ed.bench.ClickY, l.y);
        for (Cmd c : {Cmd::SecLine, Cmd::AbsLine, Cmd::AstLine, Cmd::RelSecLine, Cmd::RelAbsLine,
                      Cmd::RelAstLine}) {
            const bool want =
                c == l.only || (l.only == Cmd::SecLine && (c == Cmd::AbsLine || c == Cmd::AstLine));
            EXPECT_EQ(t.ui.Enabled(c), want) << CmdName(c) << " at y " << l.y;
        }
    }
    for (QPoint p : {QPoint(10, 10), QPoint(200, 200)}) {  // a point pixel, the background
        t.ui.attached = Popup::BtnLKindMode;
        t.ed.MouseDown(Qt::LeftButton, p.x(), p.y());
        EXPECT_EQ(t.ui.attached, Popup::None);
        EXPECT_EQ(t.ui.shown, Popup::None);
    }
}

TEST(LineKinds, MarkingCopiesTheRun) {
    {
        SCOPED_TRACE("a chain without nodes: the whole chain");
        KindFixture t;
        t.Chain({{10, 10}, {50, 10}, {50, 50}});
        t.Enter();
        const List before = t.Points();
        EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
        t.Mark(30, 10, Cmd::SecLine);
        EXPECT_EQ(t.Kinds(), (List{H(-1), R(10, 10), R(50, 10), R(50, 50)}));
        EXPECT_EQ(t.Points(), before);
        EXPECT_TRUE(t.st().Completed) << "a copy leaves the network as it was";
        EXPECT_EQ(t.ed.surf.Pixel(50, 30), Yellow);
    }
    {
        SCOPED_TRACE("between two junctions: junction to junction");
        KindFixture t;
        Junctions(t);
        t.Enter();
        t.Mark(60, 50, Cmd::AbsLine);
        EXPECT_EQ(t.Kinds(), (List{H(-9), R(30, 50), R(50, 50), R(70, 50)}));
        t.Mark(20, 50, Cmd::SecLine);
        EXPECT_EQ(t.Kinds(),
                  (List{H(-9), R(30, 50), R(50, 50), R(70, 50), H(-1), R(10, 50), R(30, 50)}));
    }
}

TEST(LineKinds, TransferToAuxiliaryAndBack) {
    KindFixture t;
    Junctions(t);
    t.Enter();
    t.Mark(40, 50, Cmd::AstLine);
    EXPECT_EQ(t.Kinds(), (List{H(-8), R(30, 50), R(50, 50), R(70, 50)}));
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 50), R(30, 50), Sep, R(70, 50), R(90, 50), Sep,
                                R(30, 10), R(30, 50), Sep, R(70, 50), R(70, 90), Sep}));
    EXPECT_FALSE(t.st().Completed);
    EXPECT_TRUE(t.st().Modified);

    t.Mark(40, 50, Cmd::RelAstLine);
    EXPECT_EQ(t.st().KindLast, -1);
    EXPECT_EQ(t.Points(),
              (List{Sep, R(10, 50), R(30, 50), Sep, R(70, 50), R(90, 50), Sep, R(30, 10), R(30, 50),
                    Sep, R(70, 50), R(70, 90), Sep, R(30, 50), R(50, 50), R(70, 50), Sep}));
    EXPECT_EQ(t.ed.surf.Pixel(40, 50), Magenta);
}

TEST(LineKinds, TransferringOneSegmentOnlyCutsTheNetwork) {
    KindFixture t;
    t.Chain({{10, 10}, {50, 10}, {90, 10}}, false);  // open chain at the end
    t.Enter();
    t.Mark(70, 10, Cmd::AstLine);
    EXPECT_EQ(t.Kinds(), (List{H(-8), R(10, 10), R(50, 10), R(90, 10)}));
    // Whole chain, no nodes: only its ends stay.
    EXPECT_EQ(t.Points(), (List{Sep, R(10, 10), Sep, R(90, 10)}));

    KindFixture u;
    u.Chain({{10, 10}, {50, 10}, {90, 10}});
    u.Chain({{50, 10}, {50, 50}});
    u.Enter();
    u.Mark(70, 10, Cmd::AstLine);
    EXPECT_EQ(u.Kinds(), (List{H(-8), R(50, 10), R(90, 10)}));
    EXPECT_EQ(u.Points(),
              (List{Sep, R(10, 10), R(50, 10), Sep, R(90, 10), Sep, R(50, 10), R(50, 50), Sep}));
}

TEST(LineKinds, Releasing) {
    KindFixture t;
    t.Chain({{10, 10}, {50, 10}});
    t.Chain({{10, 30}, {50, 30}, {50, 40}});
    t.Chain({{10, 60}, {50, 60}});
    t.Enter();
    t.Mark(30, 10, Cmd::SecLine);
    t.Mark(30, 30, Cmd::AbsLine);
    t.Mark(30, 60, Cmd::SecLine);
    EditMap(t.ed, [&](Store& s_) { s_.Modified = false; });
    t.Mark(30, 30, Cmd::RelAbsLine);
    EXPECT_EQ(t.Kinds(), (List{H(-1), R(10, 10), R(50, 10), H(-1), R(10, 60), R(50, 60)}));
    EXPECT_EQ(t.ed.surf.Pixel(30, 30), Magenta);
    t.Mark(30, 10, Cmd::RelSecLine);
    t.Mark(30, 60, Cmd::RelSecLine);
    EXPECT_EQ(t.st().KindLast, -1);
}

TEST(LineKinds, ReleaseOfARunInsideItsGroupTakesTheWholeGroup) {
    KindFixture t;
    // A closed ring marked as one group, then a second group sharing one of
    // the ring's middle points: that point stops the run inside the ring.
    t.Chain({{10, 10}, {50, 10}, {50, 50}, {10, 50}, {10, 10}});
    t.Chain({{50, 50}, {90, 90}});
    t.Enter();
    t.ed.doc.ReplaceKinds({H(-9), R(90, 90), R(50, 50), H(-1), R(10, 10), R(50, 10), R(50, 50),
                           R(10, 50), R(10, 10)});
    t.Mark(30, 50, Cmd::RelSecLine);
    EXPECT_EQ(t.Kinds(), (List{H(-9), R(90, 90), R(50, 50)}));
}
