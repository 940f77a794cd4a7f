// The bundled sample map is what a newcomer sees first: it must load with its
// under-drawing and compose into one closed outline per town.
#include <gtest/gtest.h>

#include "support/FakeUi.h"
#include "text/ShiftJis.h"

namespace {
const QString SamplePath = QStringLiteral(VELMOT_SOURCE_DIR "/resources/sample/sample.vlm");
}

TEST(SampleMap, LoadsWithItsPictureAndComposesEveryTown) {
    TestEditor t(800, 600);
    const Store& st = t.st();
    ASSERT_TRUE(t.ed.files.LoadWorkFile(SamplePath));
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.LastText().toStdString();
    EXPECT_TRUE(st.BasePicLoaded);
    ASSERT_EQ(st.AreaCount, 6);
    EXPECT_EQ(sjis::ToUnicode(st.AreaName(1)), QString::fromUtf8("青葉町"));
    EXPECT_EQ(sjis::ToUnicode(st.AreaName(6)), QString::fromUtf8("西山村"));
    EXPECT_GE(st.LegendX, 1);

    // Every chain starts and ends on a junction another chain shares, so
    // the composition closes every town without a message.
    t.ed.composer.ReMakeLineClick();
    EXPECT_TRUE(st.Completed);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.LastText().toStdString();
    int closed = 0;
    int32_t start = 1;
    for (int32_t i = 1; i <= st.PointLast; ++i) {
        if (st.PointX(i) != 0) continue;
        if (i - start >= 4 && st.PointX(start) == st.PointX(i - 1) &&
            st.PointY(start) == st.PointY(i - 1))
            ++closed;
        start = i + 1;
    }
    EXPECT_EQ(closed, 6);
}
