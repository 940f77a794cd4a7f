#include <gtest/gtest.h>

#include "store/Store.h"

TEST(Store, StartsEmpty) {
    Store s;
    EXPECT_EQ(s.PointLast, 0);
    EXPECT_EQ(s.PointX(0), 0);
    EXPECT_EQ(s.PointY(0), 0);
    EXPECT_EQ(s.KindLast, -1);
    EXPECT_EQ(s.AreaCount, 0);
    EXPECT_TRUE(s.AreaName(1).empty());
    EXPECT_EQ(s.AreaPos(0, 1), (Rec{0, 0}));
}
