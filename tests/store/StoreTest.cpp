#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "store/Store.h"

namespace {
// Fills records 1..n with (i*10, i) so that moves are visible.
void FillPoints(Store& s, int n) {
    for (int i = 1; i <= n; ++i) s.SetPoint(i, int16_t(i * 10), int16_t(i));
    s.PointLast = n;
}
void FillKinds(Store& s, int n) {
    for (int i = 0; i <= n; ++i) s.SetKind(i, int16_t(i * 10), int16_t(i));
    s.KindLast = n;
}
}  // namespace

TEST(Store, StartsEmpty) {
    Store s;
    EXPECT_EQ(s.PointLast, 0);
    EXPECT_EQ(s.Point(0), (Rec{0, 0}));
    EXPECT_EQ(s.KindLast, -1);
    EXPECT_EQ(s.KindRec(0), (Rec{0, 0}));
    EXPECT_EQ(s.AreaCount, 0);
    EXPECT_TRUE(s.AreaName(1).empty());
    EXPECT_TRUE(s.AreaName(3440).empty());
    EXPECT_EQ(s.AreaPos(0, 1), (Rec{0, 0}));
    EXPECT_EQ(s.PointPageTop(), 0);
    EXPECT_EQ(s.KindPageTop(), 0);
    EXPECT_EQ(s.LegendX, -1);
    EXPECT_EQ(s.LegendY, -1);
    EXPECT_TRUE(s.BasePicShown);
}

TEST(Store, PagesGrowOnFirstWriteAndUnwrittenRecordsReadZero) {
    Store s;
    s.SetPoint(15360, 7, 8);  // slot 0 of page 1
    EXPECT_EQ(s.PointPageTop(), 1);
    EXPECT_EQ(s.Point(15360), (Rec{7, 8}));
    EXPECT_EQ(s.Point(15359), (Rec{0, 0}));
    EXPECT_EQ(s.Point(15361), (Rec{0, 0}));

    s.SetKind(40000, 3, -4);  // pages 1 and 2 of the kind pool at once
    EXPECT_EQ(s.KindPageTop(), 2);
    EXPECT_EQ(s.KindRec(40000), (Rec{3, -4}));
    EXPECT_EQ(s.KindRec(15360), (Rec{0, 0}));
    EXPECT_EQ(s.PointPageTop(), 1) << "the pools grow independently";

    // Reading a page that was never allocated allocates nothing.
    EXPECT_EQ(s.Point(1000000), (Rec{0, 0}));
    EXPECT_EQ(s.PointX(-5), 0);
    EXPECT_EQ(s.PointPageTop(), 1);
}

TEST(Store, WritesPastCapacityStoreNothing) {
    Store s;
    s.SetPoint(15360000, 1, 1);
    EXPECT_EQ(s.PointPageTop(), 0) << "a refused write must not allocate pages";
    EXPECT_FALSE(s.EnsurePointPage(15360000));
    EXPECT_FALSE(s.EnsurePointPage(-1));
    s.SetPoint(-1, 5, 5);
    EXPECT_EQ(s.Point(0), (Rec{0, 0}));

    s.SetPoint(15359999, 9, 9);
    EXPECT_EQ(s.PointPageTop(), 999);
    EXPECT_EQ(s.Point(15359999), (Rec{9, 9}));
    s.SetPoint(15360000, 1, 1);
    EXPECT_EQ(s.PointPageTop(), 999);
    EXPECT_EQ(s.Point(15360000), (Rec{0, 0}));
    EXPECT_EQ(s.Point(0), (Rec{0, 0})) << "index past the end must not wrap round";
}

TEST(Store, AppendingStopsAtCapacity) {
    Store s;
    s.PointLast = Store::Capacity - 2;
    EXPECT_TRUE(s.PointRoom(1));
    EXPECT_FALSE(s.PointRoom(2));
    EXPECT_TRUE(s.AppendPoint(4, 5));
    EXPECT_EQ(s.PointLast, Store::Capacity - 1);
    EXPECT_EQ(s.Point(Store::Capacity - 1), (Rec{4, 5}));
    EXPECT_FALSE(s.AppendPoint(6, 7));
    EXPECT_EQ(s.PointLast, Store::Capacity - 1);

    // A full list refuses an insert instead of pushing its last record out.
    s.SetPoint(3, 33, 3);
    EXPECT_FALSE(s.InsertPoint(3, 1, 1));
    EXPECT_EQ(s.PointLast, Store::Capacity - 1);
    EXPECT_EQ(s.Point(3), (Rec{33, 3}));
    EXPECT_EQ(s.Point(Store::Capacity - 1), (Rec{4, 5}));

    s.KindLast = Store::Capacity - 1;
    EXPECT_FALSE(s.KindRoom(1));
    s.KindLast = -1;
    EXPECT_TRUE(s.KindRoom(Store::Capacity));
    EXPECT_FALSE(s.KindRoom(int64_t(Store::Capacity) + 1));
}

TEST(Store, InsertPointShiftsTheTail) {
    Store s;
    FillPoints(s, 5);
    EXPECT_TRUE(s.InsertPoint(3, 99, 98));
    EXPECT_EQ(s.PointLast, 6);
    const Rec want[] = {{0, 0}, {10, 1}, {20, 2}, {99, 98}, {30, 3}, {40, 4}, {50, 5}};
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(s.Point(i), want[i]) << i;

    // At PointLast + 1 it is a plain append.
    EXPECT_TRUE(s.InsertPoint(7, 1, 2));
    EXPECT_EQ(s.PointLast, 7);
    EXPECT_EQ(s.Point(6), (Rec{50, 5}));
    EXPECT_EQ(s.Point(7), (Rec{1, 2}));

    // Across a page boundary the records move through the pages.
    Store big;
    FillPoints(big, 15365);
    EXPECT_TRUE(big.InsertPoint(15358, 7, 7));
    EXPECT_EQ(big.Point(15358), (Rec{7, 7}));
    EXPECT_EQ(big.Point(15359), (Rec{int16_t(15358 * 10), int16_t(15358)}));
    EXPECT_EQ(big.Point(15360), (Rec{int16_t(15359 * 10), int16_t(15359)}));
    EXPECT_EQ(big.Point(15366), (Rec{int16_t(15365 * 10), int16_t(15365)}));
}

TEST(Store, DeletePointsMovesDownAndKeepsOverlongCounts) {
    Store s;
    FillPoints(s, 5);
    s.DeletePoints(2, 2);
    EXPECT_EQ(s.PointLast, 3);
    EXPECT_EQ(s.Point(1), (Rec{10, 1}));
    EXPECT_EQ(s.Point(2), (Rec{40, 4}));
    EXPECT_EQ(s.Point(3), (Rec{50, 5}));

    Store t;
    FillPoints(t, 5);
    t.DeletePoints(4, 2);  // the last two records: nothing moves
    EXPECT_EQ(t.PointLast, 3);
    EXPECT_EQ(t.Point(3), (Rec{30, 3}));

    // A count larger than PointLast leaves the list as it is.
    Store u;
    FillPoints(u, 5);
    u.DeletePoints(1, 7);
    EXPECT_EQ(u.PointLast, 5);
    EXPECT_EQ(u.Point(5), (Rec{50, 5}));
    u.DeletePoints(1, 0);
    EXPECT_EQ(u.PointLast, 5);
    u.DeletePoints(1, 5);
    EXPECT_EQ(u.PointLast, 0);
}

TEST(Store, KindGroupsAppendAndDelete) {
    Store s;
    // One second-boundary group of three points.
    auto appendGroup = [&](int16_t code, std::initializer_list<Rec> pts) {
        ++s.KindLast;
        s.SetKind(s.KindLast, 0, code);
        for (Rec p : pts) {
            ++s.KindLast;
            s.SetKind(s.KindLast, p);
        }
    };
    appendGroup(KindSecondBoundary, {{5, 5}, {6, 6}, {7, 7}});
    EXPECT_EQ(s.KindLast, 3);
    EXPECT_EQ(s.KindRec(0), (Rec{0, -1}));
    EXPECT_EQ(s.KindRec(3), (Rec{7, 7}));
    appendGroup(KindAuxiliary, {{8, 8}, {9, 9}});
    EXPECT_EQ(s.KindLast, 6);

    // Removing the first group (points at 1..3) takes its header too.
    s.DeleteKinds(1 - 1, 3 - 1 + 2);
    EXPECT_EQ(s.KindLast, 2);
    EXPECT_EQ(s.KindRec(0), (Rec{0, -8}));
    EXPECT_EQ(s.KindRec(2), (Rec{9, 9}));

    Store t;
    FillKinds(t, 2);
    t.DeleteKinds(0, 4);
    EXPECT_EQ(t.KindLast, -1) << "KindLast never goes below -1";
}

TEST(Store, BulkCopiesRoundTrip) {
    Store s;
    FillPoints(s, 20000);
    std::vector<Rec> v = s.PointsToVector();
    ASSERT_EQ(v.size(), 20001u);
    EXPECT_EQ(v[19999], (Rec{int16_t(19999 * 10), int16_t(19999)}));
    v.resize(10);
    s.AssignPoints(v);
    EXPECT_EQ(s.PointLast, 9);
    s.AssignPoints({});
    EXPECT_EQ(s.PointLast, 0);
    EXPECT_EQ(s.Point(0), (Rec{0, 0}));

    // More than the capacity is refused whole.
    std::vector<Rec> tooMany(size_t(Store::Capacity) + 1, Rec{1, 1});
    EXPECT_FALSE(s.AssignPoints(tooMany));
    EXPECT_EQ(s.PointLast, 0);
    tooMany.pop_back();
    EXPECT_TRUE(s.AssignPoints(tooMany));
    EXPECT_EQ(s.PointLast, Store::Capacity - 1);
    EXPECT_EQ(s.Point(Store::Capacity - 1), (Rec{1, 1}));

    s.AssignKinds({{0, -9}, {1, 2}});
    EXPECT_EQ(s.KindLast, 1);
    EXPECT_EQ(s.KindsToVector().size(), 2u);
    s.AssignKinds({});
    EXPECT_EQ(s.KindLast, -1);
    EXPECT_TRUE(s.KindsToVector().empty());
}

TEST(Store, AreaNamesAreCutAtCharacterBoundaries) {
    Store s;
    EXPECT_TRUE(s.SetAreaName(1, "Tokyo"));
    EXPECT_EQ(s.AreaName(1), "Tokyo");
    // A shorter name replaces a longer one completely.
    EXPECT_TRUE(s.SetAreaName(1, "Ab"));
    EXPECT_EQ(s.AreaName(1), "Ab");

    // Nine two-byte characters fill the 18 bytes exactly.
    const std::string nine =
        "\x93\x8c\x8b\x9e\x93\x73\x91\xe5\x8d\xe3\x95\x7b\x96\x6b\x8a\x43\x93\xb9";
    EXPECT_TRUE(s.SetAreaName(2, nine));
    EXPECT_EQ(s.AreaName(2), nine);

    // 17 ASCII bytes then a two-byte character: the character does not fit.
    const std::string half = std::string(17, 'a') + "\x93\x8c";
    EXPECT_FALSE(s.SetAreaName(3, half));
    EXPECT_EQ(s.AreaName(3), std::string(17, 'a'));

    // Half-width katakana are single bytes: 19 of them cut to 18.
    EXPECT_FALSE(s.SetAreaName(4, std::string(19, '\xb1')));
    EXPECT_EQ(s.AreaName(4), std::string(18, '\xb1'));

    // The name ends at a NUL, as the fixed field does.
    EXPECT_TRUE(s.SetAreaName(5, std::string_view("ab\0cd", 5)));
    EXPECT_EQ(s.AreaName(5), "ab");

    EXPECT_TRUE(s.SetAreaName(3440, "last"));
    EXPECT_EQ(s.AreaName(3440), "last");
    EXPECT_FALSE(s.SetAreaName(3441, "x"));
    EXPECT_FALSE(s.SetAreaName(0, "x"));
    EXPECT_TRUE(s.AreaName(3441).empty());
}

TEST(Store, AreaSlotsAreIndependent) {
    Store s;
    for (int k = 0; k < Store::Slots; ++k)
        for (int a : {1, 2, 3439, 3440}) s.AreaPos(k, a) = Rec{int16_t(k + 1), int16_t(a)};
    for (int k = 0; k < Store::Slots; ++k)
        for (int a : {1, 2, 3439, 3440})
            EXPECT_EQ(s.AreaPos(k, a), (Rec{int16_t(k + 1), int16_t(a)}));

    // A position list ends at the first (0,0) slot.
    s.AreaPos(0, 7) = {10, 20};
    s.AreaPos(1, 7) = {30, 40};
    s.AreaPos(2, 7) = {0, 0};
    int n = 0;
    while (n < Store::Slots && s.AreaPos(n, 7).x != 0) ++n;
    EXPECT_EQ(n, 2);

    // Out-of-range numbers touch nothing and read (0,0).
    s.AreaPos(11, 1) = {5, 5};
    s.AreaPos(0, 3441) = {5, 5};
    s.AreaPos(-1, 0) = {5, 5};
    EXPECT_EQ(s.AreaPos(11, 1), (Rec{0, 0}));
    EXPECT_EQ(s.AreaPos(0, 3441), (Rec{0, 0}));
    EXPECT_EQ(std::as_const(s).AreaPos(0, 0), (Rec{0, 0}));
    EXPECT_EQ(s.AreaPos(10, 1), (Rec{11, 1}));
}

// Tables and pages are made on first write and shared by copies until then:
// a copy's writes never reach the original, and a table written back to
// zeros is the same map as one never written.
TEST(Store, CopiesShareUntilWrittenAndZerosEqualUnwritten) {
    Store a;
    Store b = a;
    b.AreaPos(3, 100) = {7, 8};
    b.SetAreaName(300, "x");
    b.SetPoint(0, 1, 2);
    EXPECT_EQ(std::as_const(a).AreaPos(3, 100), (Rec{0, 0}));
    EXPECT_EQ(a.AreaName(300), "");
    EXPECT_EQ(a.Point(0), (Rec{0, 0}));
    EXPECT_FALSE(Store::SameMap(a, b));
    b.AreaPos(3, 100) = {0, 0};
    EXPECT_FALSE(Store::SameMap(a, b));
    b.SetAreaName(300, "");
    b.SetPoint(0, 0, 0);
    EXPECT_TRUE(Store::SameMap(a, b));
    EXPECT_TRUE(Store::SameMap(b, a));
}

// The record shifting against a one-record-at-a-time transcription, on lists
// that span several pages, so that every page-crossing case is met.
TEST(Store, InsertsAndDeletesMatchRecordByRecordShifting) {
    Store s;
    std::vector<Rec> model(60000);
    int32_t last = 0;
    std::mt19937 rng(17);
    for (int i = 1; i <= 33000; ++i) {
        const Rec r{int16_t(1 + i % 30000), int16_t(i % 7000)};
        s.AppendPoint(r.x, r.y);
        model[size_t(++last)] = r;
    }
    for (int step = 0; step < 300; ++step) {
        if (rng() % 2) {
            const int32_t i = 1 + int32_t(rng() % uint32_t(last + 1));
            const Rec r{int16_t(rng() % 30000 + 1), int16_t(step)};
            ASSERT_TRUE(s.InsertPoint(i, r.x, r.y));
            ++last;
            for (int32_t k = last; k >= i + 1; --k) model[size_t(k)] = model[size_t(k - 1)];
            model[size_t(i)] = r;
        } else {
            const int32_t start = 1 + int32_t(rng() % uint32_t(last));
            const int32_t count = 1 + int32_t(rng() % 20000);
            s.DeletePoints(start, count);
            for (int32_t k = start; k <= last - count; ++k)
                model[size_t(k)] = model[size_t(k + count)];
            if (count <= last) last -= count;
        }
        ASSERT_EQ(s.PointLast, last);
        if (last < 1000) {
            for (int i = 1; i <= 20000; ++i) {
                const Rec r{int16_t(1 + i % 30000), int16_t(step)};
                s.AppendPoint(r.x, r.y);
                model[size_t(++last)] = r;
            }
        }
    }
    for (int32_t k = 0; k <= last; ++k) ASSERT_EQ(s.Point(k), model[size_t(k)]) << k;
}
