#include <gtest/gtest.h>

#include <string>

#include "text/ShiftJis.h"

namespace {
const std::string kTokyo = "\x93\x8c\x8b\x9e\x93\x73";  // 東京都
QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
}  // namespace

TEST(ShiftJis, CutToBytesKeepsWholeCharacters) {
    EXPECT_EQ(sjis::CutToBytes("abcdef", 4), "abcd");
    EXPECT_EQ(sjis::CutToBytes("abc", 4), "abc");
    EXPECT_EQ(sjis::CutToBytes(kTokyo, 6), kTokyo);
    EXPECT_EQ(sjis::CutToBytes(kTokyo, 5), kTokyo.substr(0, 4));
    EXPECT_EQ(sjis::CutToBytes("a" + kTokyo, 4), "a" + kTokyo.substr(0, 2));
    EXPECT_EQ(sjis::CutToBytes(kTokyo, 1), "");
    EXPECT_EQ(sjis::CutToBytes(kTokyo, 0), "");
    // Half-width katakana are one byte each; lead bytes from 0xE0 up are two.
    EXPECT_EQ(sjis::CutToBytes("\xb1\xb2\xb3\xb4", 3), "\xb1\xb2\xb3");
    EXPECT_EQ(sjis::CutToBytes("ab\xe0\x40", 3), "ab");
    EXPECT_EQ(sjis::CutToBytes("ab\xfb\xfc", 3), "ab");
}

TEST(ShiftJis, JapaneseTextRoundTrips) {
    const QString texts[] = {U("東京都"), U("ｱｲｳｴｵ"),         U("北海道 札幌市"),
                             U("①髙﨑"),  U("C:\\map~1.idt"), U("ＺＥＮＫＡＮ地図　作成"),
                             QString()};
    for (const QString& t : texts) {
        bool lossless = false;
        const std::string b = sjis::FromUnicode(t, &lossless);
        EXPECT_TRUE(lossless) << t.toStdString();
        EXPECT_EQ(sjis::ToUnicode(b), t) << t.toStdString();
    }
    EXPECT_EQ(sjis::FromUnicode(U("東京都")), kTokyo);
    EXPECT_EQ(sjis::FromUnicode(U("a\\b~")), "a\\b~") << "backslash and tilde stay ASCII";
    EXPECT_EQ(sjis::FromUnicode(U("ｱ")), "\xb1");
}

TEST(ShiftJis, UnconvertibleTextIsMarkedNotLost) {
    bool lossless = true;
    EXPECT_EQ(sjis::FromUnicode(U("a€b😀c"), &lossless), "a?b?c");
    EXPECT_FALSE(lossless);
    // A lead byte cut off at the end shows as a replacement character.
    const QString t = sjis::ToUnicode(kTokyo.substr(0, 3));
    EXPECT_EQ(t, U("東") + QChar(QChar::ReplacementCharacter));
    EXPECT_EQ(sjis::ToUnicode("\xff\x41").size(), 2) << "an invalid byte is not dropped";
}

TEST(ShiftJis, SplitFieldAtTheFirstSeparator) {
    std::string head, rest;
    sjis::SplitField(',', "190,100,560,420", head, rest);
    EXPECT_EQ(head, "190");
    EXPECT_EQ(rest, "100,560,420");
    sjis::SplitField(',', "420", head, rest);
    EXPECT_EQ(head, "420");
    EXPECT_EQ(rest, "");
    sjis::SplitField(',', "420,", head, rest);
    EXPECT_EQ(head, "420");
    EXPECT_EQ(rest, "");
    sjis::SplitField(',', ",MAX", head, rest);
    EXPECT_EQ(head, "");
    EXPECT_EQ(rest, "MAX");
    sjis::SplitField(',', "", head, rest);
    EXPECT_EQ(head, "");
    EXPECT_EQ(rest, "");

    // Both parts are cut to 255 bytes without splitting a character.
    std::string src = "x";
    for (int i = 0; i < 130; ++i) src += "\x93\x8c";  // 261 bytes
    sjis::SplitField(',', src + "," + src, head, rest);
    EXPECT_EQ(head.size(), 255u);
    EXPECT_EQ(rest.size(), 255u);
    EXPECT_EQ(head.back(), '\x8c');

    // The second byte of 表 (0x95 0x5C) is not a backslash separator.
    sjis::SplitField('\\', "\x95\x5c\\x", head, rest);
    EXPECT_EQ(head, "\x95\x5c");
    EXPECT_EQ(rest, "x");
}
