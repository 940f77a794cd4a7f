#include <gtest/gtest.h>

#include "formats/AreaText.h"
#include "text/TextEntry.h"
#include "support/FakeUi.h"
#include "text/ShiftJis.h"

using areas::ParseAreaNames;

namespace {
std::string Name(const areas::AreaText& t, size_t i) {
    return t.areas.at(i).name;
}
std::vector<Rec> Pos(const areas::AreaText& t, size_t i) {
    return t.areas.at(i).pos;
}
std::vector<Rec> Slots(const Store& st, int a) {
    std::vector<Rec> v;
    for (int k = 0; k < Store::Slots && st.AreaPos(k, a).x != 0; ++k) v.push_back(st.AreaPos(k, a));
    return v;
}

// Feeds one text to the area-name editor as if the user had typed it.
void TypeNames(TestEditor& t, const QString& text) {
    t.ui.onEditAreaNames = [text](const QString& shown, bool* changed) {
        *changed = shown != text;
        return text;
    };
    t.ed.areaNames.AreaNameEditClick();
}
}  // namespace

TEST(TextEntry, TrimAndSplit) {
    std::string s = "  A b\t ;note";
    EXPECT_EQ(TrimEntry(s), "A b");
    s = "   ";
    EXPECT_EQ(TrimEntry(s), "");
    s = ";only";
    EXPECT_EQ(TrimEntry(s), "");

    std::string head, tail;
    SplitAt('=', "name = 1,2=3", head, tail);
    EXPECT_EQ(head, "name ");
    EXPECT_EQ(tail, " 1,2=3");
    SplitAt('=', "bare", head, tail);
    EXPECT_EQ(head, "bare");
    EXPECT_EQ(tail, "");
    // The rest may be split into itself, as the position loop does.
    std::string rest = "1,2/3,4";
    SplitAt('/', rest, head, rest);
    EXPECT_EQ(head, "1,2");
    EXPECT_EQ(rest, "3,4");
}

TEST(TextEntry, Integers) {
    EXPECT_EQ(ParseStrictInt16("  -12"), int16_t(-12));
    EXPECT_EQ(ParseStrictInt16("+7"), int16_t(7));
    EXPECT_EQ(ParseStrictInt16("32767"), int16_t(32767));
    EXPECT_EQ(ParseStrictInt16("-32768"), int16_t(-32768));
    for (const char* bad : {"", " ", "12 ", "1x", "32768", "-32769", "99999999999", "-", "2;c"})
        EXPECT_FALSE(ParseStrictInt16(bad)) << bad;

    EXPECT_EQ(ParseLenientInt16(""), 0);
    EXPECT_EQ(ParseLenientInt16("  +15"), 15);
    EXPECT_EQ(ParseLenientInt16("-20"), -20);
    EXPECT_EQ(ParseLenientInt16("$1F"), 31);
    EXPECT_EQ(ParseLenientInt16("12abc"), 12);
    EXPECT_EQ(ParseLenientInt16("99999999999999"), 32767);
}

TEST(AreaNameText, LinesCommentsAndPositions) {
    // The empty line is no area; the last line counts without a line break.
    auto t = ParseAreaNames("A\r\n\r\nB");
    ASSERT_TRUE(t.error.isEmpty());
    ASSERT_EQ(t.areas.size(), 2u);
    EXPECT_EQ(Name(t, 0), "A");
    EXPECT_EQ(Name(t, 1), "B");
    EXPECT_EQ(ParseAreaNames("A\nB\n").areas.size(), 2u);

    // A comment-only line is an unnamed area that stays between named ones
    // and is dropped at the end.
    t = ParseAreaNames("A ;capital\r\n;nothing\r\nB\r\n;tail note");
    ASSERT_EQ(t.areas.size(), 3u);
    EXPECT_EQ(Name(t, 0), "A");
    EXPECT_EQ(Name(t, 1), "");
    EXPECT_EQ(Name(t, 2), "B");
    // A name that is only a CR counts as none at the end, and stays between.
    t = ParseAreaNames("A\n\r=5,5\nB\n\r=6,6");
    ASSERT_EQ(t.areas.size(), 3u);
    EXPECT_EQ(Name(t, 1), "\r");

    t = ParseAreaNames("B=10,20/0,5/30,40");
    EXPECT_EQ(Pos(t, 0), (std::vector<Rec>{{10, 20}, {30, 40}}));
    t = ParseAreaNames("C =  1,2 /3, 4");  // blanks before numbers only
    EXPECT_FALSE(t.error.isEmpty());
    t = ParseAreaNames("C =  1,2/ 3, 4");
    EXPECT_EQ(Pos(t, 0), (std::vector<Rec>{{1, 2}, {3, 4}}));

    std::string eleven = "E = ";
    for (int i = 1; i <= 11; ++i)
        eleven += (i > 1 ? "/" : "") + std::to_string(i) + "," + std::to_string(i);
    t = ParseAreaNames(QString::fromStdString(eleven));
    ASSERT_EQ(Pos(t, 0).size(), 10u);
    EXPECT_EQ(Pos(t, 0).back(), (Rec{10, 10}));

    EXPECT_TRUE(ParseAreaNames("").areas.empty());
    EXPECT_TRUE(ParseAreaNames("\r\n\r\n").areas.empty());
}

TEST(AreaNameText, MalformedPositionsNameLineAndItem) {
    struct Case {
        const char* text;
        const char* item;
    } cases[] = {
        {"A\r\nB = 1;2", " 1;2"},            // no comma
        {"A\r\nB = 1,2;note", " 1,2;note"},  // a comment after the positions
        {"A\r\nB = ", " "},                  // a position part of one blank
        {"A\r\nB = 70000,5", " 70000,5"},    // beyond 16 bits
        {"A\r\nB = 1,2//3,4", ""},           // an empty item
        {"A\r\nB = x,5", " x,5"},
    };
    for (const auto& c : cases) {
        const auto t = ParseAreaNames(QString::fromLatin1(c.text));
        EXPECT_TRUE(t.areas.empty()) << c.text;
        EXPECT_TRUE(t.error.contains(QStringLiteral("2 行目")))
            << c.text << " " << t.error.toStdString();
        EXPECT_TRUE(t.error.contains(QStringLiteral("「%1」").arg(QLatin1String(c.item))))
            << c.text;
    }
}

TEST(AreaNameText, LongNamesAreCutAtACharacterBoundary) {
    // Ten double-byte characters are 20 bytes; nine fit.
    const auto t =
        ParseAreaNames(QStringLiteral("短い\nあいうえおかきくけこ = 5,5\nabcdefghijklmnopqrstu"));
    ASSERT_EQ(t.areas.size(), 3u);
    EXPECT_EQ(sjis::ToUnicode(Name(t, 1)), QStringLiteral("あいうえおかきくけ"));
    EXPECT_EQ(Pos(t, 1), (std::vector<Rec>{{5, 5}}));
    EXPECT_EQ(Name(t, 2), "abcdefghijklmnopqr");
    EXPECT_EQ(t.cutLines, (std::vector<int>{2, 3}));
}

TEST(AreaNameText, ListingParsesBackToTheSameTable) {
    Store st;
    st.AreaCount = 3;
    st.SetAreaName(1, sjis::FromUnicode(QStringLiteral("東京都")));
    st.AreaPos(0, 1) = {120, 85};
    st.AreaPos(1, 1) = {300, 42};
    st.AreaPos(2, 1) = {0, 0};
    st.SetAreaName(2, "");
    st.AreaPos(0, 2) = {0, 0};
    st.SetAreaName(3, "B");
    st.AreaPos(0, 3) = {-5, 5};  // not a position: skipped in the listing
    st.AreaPos(1, 3) = {7, 8};
    st.AreaPos(2, 3) = {0, 0};

    const QString listing = areas::ListAreaNames(st);
    EXPECT_EQ(listing, QStringLiteral("東京都 = 120,85/300,42\n\nB = 7,8"));
    // The unnamed area 2 lists as an empty line, which the parse skips: an
    // empty line is no area. Giving it a comment keeps it.
    auto t = ParseAreaNames(listing);
    ASSERT_EQ(t.areas.size(), 2u);
    Store back;
    areas::StoreAreas(back,
                      ParseAreaNames(QStringLiteral("東京都 = 120,85/300,42\n;\nB = 7,8")).areas);
    EXPECT_EQ(back.AreaCount, 3);
    EXPECT_EQ(back.AreaName(1), st.AreaName(1));
    EXPECT_EQ(Slots(back, 1), Slots(st, 1));
    EXPECT_EQ(Slots(back, 3), (std::vector<Rec>{{7, 8}}));
}

TEST(AreaNameEditor, TakesOverOnlyAChangedText) {
    TestEditor t;
    t.ed.states.InitCommandStates();
    TypeNames(t, QStringLiteral("北区 = 10,10\r\n南区"));
    EXPECT_EQ(t.st().AreaCount, 2);
    EXPECT_TRUE(t.st().Modified);
    EXPECT_FALSE(t.st().Completed);
    EXPECT_TRUE(t.ui.Enabled(Cmd::ZoneArrange));
    EXPECT_TRUE(t.ui.Enabled(Cmd::ReMakeLine));
    EXPECT_EQ(Slots(t.st(), 1), (std::vector<Rec>{{10, 10}}));

    // Reopening and closing without typing changes nothing, not even the flags.
    EditMap(t.ed, [&](Store& s_) {
        s_.Modified = false;
        s_.Completed = true;
    });
    QString shown;
    t.ui.onEditAreaNames = [&](const QString& s, bool* changed) {
        shown = s;
        *changed = false;
        return s;
    };
    t.ed.areaNames.AreaNameEditClick();
    EXPECT_EQ(shown, QStringLiteral("北区 = 10,10\n南区"));
    EXPECT_FALSE(t.st().Modified);
    EXPECT_TRUE(t.st().Completed);

    // Deleting every line empties the table.
    TypeNames(t, QString());
    EXPECT_EQ(t.st().AreaCount, 0);
}

TEST(AreaNameEditor, RefusedTextKeepsTheTableAndReturnsToTheEditor) {
    TestEditor t;
    TypeNames(t, QStringLiteral("A = 1,1\nB = 2,2"));
    ASSERT_EQ(t.st().AreaCount, 2);
    EditMap(t.ed, [&](Store& s_) { s_.Modified = false; });

    std::vector<QString> shown;
    t.ui.onEditAreaNames = [&](const QString& s, bool* changed) {
        shown.push_back(s);
        if (shown.size() == 1) {
            *changed = true;
            return QStringLiteral("X = 5,5\nY = 6;6");
        }
        // The user gives up and closes it again.
        *changed = false;
        return s;
    };
    t.ed.areaNames.AreaNameEditClick();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], QStringLiteral("X = 5,5\nY = 6;6"));  // the typing is not lost
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_TRUE(t.ui.messages[0].text.contains(QStringLiteral("2 行目")));
    EXPECT_TRUE(t.ui.messages[0].text.contains(QStringLiteral("「 6;6」")));
    EXPECT_EQ(t.st().AreaCount, 2);
    EXPECT_EQ(t.st().AreaName(1), "A");
    EXPECT_FALSE(t.st().Modified);
}

TEST(AreaNameEditor, TooManyAreasAreRefusedAndLongNamesReported) {
    TestEditor t;
    QString many;
    for (int i = 0; i < Store::MaxAreas + 2; ++i) many += QStringLiteral("a%1\n").arg(i);
    TypeNames(t, many);
    EXPECT_EQ(t.st().AreaCount, 0);
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_TRUE(t.ui.messages[0].text.contains(QStringLiteral("3442")));

    TestEditor u;
    TypeNames(u, QStringLiteral("ok\nあいうえおかきくけこさ"));
    EXPECT_EQ(u.st().AreaCount, 2);
    ASSERT_EQ(u.ui.messages.size(), 1u);
    EXPECT_TRUE(u.ui.messages[0].text.contains(QStringLiteral("2 行目")));
}
