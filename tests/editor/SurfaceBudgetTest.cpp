// A map or picture that would make the drawing surface grow beyond the budget
// is asked about first (the window) or refused (velmot-cli), before the work
// in the editor is let go.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "formats/WorkFormat.h"
#include "support/FakeUi.h"
#include "raster/SurfaceBudget.h"

namespace {

// A budget of 1 MB for the test's length.
struct SmallBudget {
    SurfaceBudget saved = CurrentSurfaceBudget();
    explicit SmallBudget(bool ask) { CurrentSurfaceBudget() = {1 << 20, ask}; }
    ~SmallBudget() { CurrentSurfaceBudget() = saved; }
};

// A tiny work file whose single point lies at (2000, 1500): a 3 MB surface.
QString FarPoint(TestEditor& t) {
    Store st;
    st.SetPoint(1, 2000, 1500);
    st.PointLast = 2;
    const QString path = t.Path("far.vlm");
    EXPECT_TRUE(WriteWorkFile(path, st, "0", nullptr));
    return path;
}

}  // namespace

TEST(SurfaceBudget, AFarPointIsAskedAboutOrRefusedBeforeTheWorkGoes) {
    {
        SmallBudget budget(true);
        TestEditor t(200, 200);
        t.Chain({{10, 10}, {20, 20}});
        const QString far = FarPoint(t);
        t.ui.answers = {false};
        EXPECT_FALSE(t.ed.files.LoadWorkFile(far));
        ASSERT_EQ(t.ui.messages.size(), 1u);
        EXPECT_EQ(t.ui.messages[0].kind, ShownMessage::YesNo);
        EXPECT_TRUE(t.ui.messages[0].text.contains("2001 x 1501"));
        EXPECT_EQ(t.st().PointLast, 3);  // the work is kept
        EXPECT_EQ(t.ed.surf.Width(), 200);

        t.ui.answers = {true};
        EXPECT_TRUE(t.ed.files.LoadWorkFile(far));
        EXPECT_EQ(t.st().Point(1), (Rec{2000, 1500}));
        EXPECT_GE(t.ed.surf.Width(), 2001);
    }
    {
        // Without anyone to ask, the load is refused with the sizes.
        SmallBudget budget(false);
        TestEditor t(200, 200);
        const QString far = FarPoint(t);
        EXPECT_FALSE(t.ed.files.LoadWorkFile(far));
        ASSERT_EQ(t.ui.messages.size(), 1u);
        EXPECT_EQ(t.ui.messages[0].kind, ShownMessage::Info);
        EXPECT_TRUE(t.ui.messages[0].text.contains("1 MB"));
        EXPECT_EQ(t.ed.surf.Width(), 200);
    }
}

TEST(SurfaceBudget, FinishedMapsAndPicturesAskToo) {
    SmallBudget budget(true);
    TestEditor t(200, 200);
    QFile f(t.Path("far.idt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("T\r\n@StartOfPoints\r\n" + QByteArray::fromHex("00000000 d0076009 0a000a00 00000000"));
    f.close();
    t.ui.answers = {false};
    EXPECT_FALSE(t.ed.finishedMaps.ReadFinishedMap(f.fileName()));
    EXPECT_EQ(t.ui.messages.back().kind, ShownMessage::YesNo);
    EXPECT_EQ(t.ed.surf.Width(), 200);

    t.ui.clipboard = QImage(1500, 1500, QImage::Format_RGB32);
    t.ui.clipboard.fill(Qt::white);
    t.ui.answers = {false};
    t.ed.picture.BMPpasteClick();
    EXPECT_FALSE(t.st().BasePicLoaded);
    EXPECT_EQ(t.ui.messages.back().kind, ShownMessage::YesNo);

    // Within the budget nothing is asked; scaling it up threefold is.
    t.ui.clipboard = QImage(500, 500, QImage::Format_RGB32);
    t.ui.clipboard.fill(Qt::white);
    const size_t shown = t.ui.messages.size();
    t.ed.picture.BMPpasteClick();
    ASSERT_TRUE(t.st().BasePicLoaded);
    EXPECT_EQ(t.ui.messages.size(), shown);
    t.Chain({{10, 10}, {20, 20}});
    t.ui.onMoveMapDialog = [](MoveFields& f) {
        f.factor = "3";
        return true;
    };
    t.ui.answers = {false};
    t.ed.mapCommands.MoveMapClick();
    EXPECT_EQ(t.ui.messages.back().kind, ShownMessage::YesNo);
    EXPECT_EQ(t.st().Point(1), (Rec{10, 10}));
}
