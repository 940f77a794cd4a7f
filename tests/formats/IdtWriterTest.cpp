#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "IdtTestMap.h"
#include "formats/IdtWriter.h"
#include "base/SafeSave.h"

namespace {
QByteArray Write(TestEditor& t, const QString& mag, QStringList remarks = {}) {
    const QString path = t.Path("out.idt");
    t.ui.files.push_back(path);
    AnswerTitle(t, QStringLiteral("地図"), mag, remarks);
    t.ed.finishedMaps.WriteMapClick();
    return FileBytes(path);
}

QList<QByteArray> TextLines(const QByteArray& file) {
    const qsizetype end = file.indexOf("@StartOfPoints\r\n");
    return file.left(end).split('\n');
}
}  // namespace

TEST(IdtWriter, GoldenBytesAtOne) {
    TestEditor t;
    FillSmallMap(t);
    const QByteArray expected = QByteArray(
                                    "\x92\x6E\x90\x7D\r\n"
                                    "@Rem Velmot.exe version 1.22\r\n"
                                    "@Resolution=640,400\r\n"
                                    "@IndexPosition=10,20\r\n"
                                    "\x8B\xE6\x88\xE6=4,6\r\n"
                                    "B=/8,6\r\n"
                                    "C=\r\n"
                                    "@StartOfPoints\r\n") +
                                QByteArray::fromHex(
                                    "00000000 03000500 05000700 09000500 03000500 00000000"
                                    "0000F7FF 03000500 05000700");
    EXPECT_EQ(Write(t, "1.0").toHex(' '), expected.toHex(' '));
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.LastText().toStdString();
    EXPECT_EQ(t.st().IdtFileName, t.Path("out.idt"));
    EXPECT_EQ(t.st().MapTitle, "\x92\x6E\x90\x7D");
    EXPECT_EQ(t.st().MapCommentCount, 0);
}

TEST(IdtWriter, GoldenBytesAtOneHalfRoundHalvesToEven) {
    TestEditor t;
    FillSmallMap(t);
    const QByteArray expected = QByteArray(
                                    "\x92\x6E\x90\x7D\r\n"
                                    "@Rem Velmot.exe version 1.22\r\n"
                                    "@Resolution=640,400\r\n"
                                    "@IndexPosition=5,10\r\n"
                                    "\x8B\xE6\x88\xE6=2,3\r\n"
                                    "B=/4,3\r\n"
                                    "C=\r\n"
                                    "@StartOfPoints\r\n") +
                                QByteArray::fromHex(
                                    "00000000 02000200 02000400 04000200 02000200 00000000"
                                    "0000F7FF 02000200 02000400");
    EXPECT_EQ(Write(t, "0.5").toHex(' '), expected.toHex(' '));
    // The store itself keeps its coordinates.
    EXPECT_EQ(t.st().Point(1), (Rec{3, 5}));
}

TEST(IdtWriter, NoKindGroupsEndsWithTheLastSeparator) {
    TestEditor t;
    FillSmallMap(t);
    EditMap(t.ed, [&](Store& s_) { s_.KindLast = -1; });
    const QByteArray file = Write(t, "1.0");
    EXPECT_TRUE(file.endsWith(QByteArray::fromHex("03000500 00000000")));
    EXPECT_EQ(file.size() - (file.indexOf("@StartOfPoints\r\n") + 16), 6 * 4);
}

TEST(IdtWriter, RemarkLines) {
    TestEditor t;
    FillSmallMap(t);
    QStringList memo;
    for (int i = 1; i <= 21; ++i) memo << QStringLiteral("注釈%1").arg(i);
    auto lines = TextLines(Write(t, "1.0", memo));
    EXPECT_EQ(t.st().MapCommentCount, 20);
    ASSERT_GE(lines.size(), 23);
    EXPECT_EQ(lines[1], "@Rem Velmot.exe version 1.22\r");
    EXPECT_EQ(lines[2],
              "@Rem \x92\x8D\x8E\xDF"
              "1\r");
    EXPECT_EQ(lines[21],
              "@Rem \x92\x8D\x8E\xDF"
              "20\r");
    EXPECT_EQ(lines[22], "@Resolution=640,400\r");

    // Only one trailing empty line is dropped.
    lines = TextLines(Write(t, "1.0", {"a", "", ""}));
    EXPECT_EQ(t.st().MapCommentCount, 2);
    EXPECT_EQ(lines[2], "@Rem a\r");
    EXPECT_EQ(lines[3], "@Rem \r");
    EXPECT_EQ(lines[4], "@Resolution=640,400\r");
}

TEST(IdtWriter, DefaultFieldsAndResolution) {
    EXPECT_EQ(idt::DefaultResolution(700, 300), (idt::Resolution{1024, 768}));
    EXPECT_EQ(idt::DefaultResolution(639, 399), (idt::Resolution{640, 400}));
    EXPECT_EQ(idt::DefaultResolution(2000, 500), (idt::Resolution{2560, 1920}));
    EXPECT_EQ(idt::DefaultResolution(639, 400), (idt::Resolution{640, 480}));
    EXPECT_EQ(idt::DefaultResolution(1279, 959), (idt::Resolution{1280, 960}));
    EXPECT_EQ(idt::DefaultResolution(1280, 0), (idt::Resolution{1920, 1440}));

    TestEditor t;
    FillSmallMap(t);
    EditMap(t.ed, [&](Store& s_) {
        s_.MapTitle = "T";
        s_.MapCommentCount = 1;
        s_.MapComments[1] = "r";
    });
    const auto f = idt::DefaultTitleFields(t.st(), QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(f.title, "T");
    EXPECT_EQ(QStringList({f.year, f.month, f.day, f.hour, f.minute, f.second}),
              QStringList({"2025", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(f.maxX, 9);
    EXPECT_EQ(f.maxY, 7);
    EXPECT_EQ(f.resX, "640");
    EXPECT_EQ(f.resY, "400");
    EXPECT_EQ(f.magnification, "1.0");
    EXPECT_EQ(f.remarks, QStringList{"r"});
}

TEST(IdtWriter, ModificationTimeIsTheStampInEvenSeconds) {
    TestEditor t;
    FillSmallMap(t);
    Write(t, "1.0");
    const QDateTime m = QFileInfo(t.Path("out.idt")).lastModified();
    EXPECT_EQ(m, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 8)));
}

TEST(IdtWriter, QuestionsBeforeWriting) {
    TestEditor t;
    FillSmallMap(t);
    EditMap(t.ed, [&](Store& s_) { s_.Completed = false; });
    t.ui.answers = {false};
    t.ed.finishedMaps.WriteMapClick();
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, QStringLiteral("境界線(L)-最終編成(R)は行われてますか？"));
    EXPECT_EQ(t.ui.messages[0].caption, QStringLiteral("注意"));
    EXPECT_TRUE(t.ui.fileFilters.empty());

    // An existing file: declining keeps it and forgets the name; accepting
    // offers its title.
    EditMap(t.ed, [&](Store& s_) { s_.Completed = true; });
    const QString path = t.Path("old.idt");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x8C\xC3\x82\xA2\r\nrest");  // 古い
    }
    t.ui.messages.clear();
    t.ui.files = {path};
    t.ui.answers = {false};
    EditMap(t.ed, [&](Store& s_) { s_.IdtFileName = "remembered.idt"; });
    t.ed.finishedMaps.WriteMapClick();
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, path + QStringLiteral(" が存在します。上書きOk?"));
    EXPECT_EQ(t.ui.messages[0].caption, QStringLiteral("上書き確認"));
    EXPECT_EQ(t.ui.fileFilters.back(), QStringLiteral("地図情報ﾌｧｲﾙ(*.idt)|*.idt"));
    EXPECT_EQ(t.ui.proposedNames.back(), QStringLiteral("remembered.idt"));
    EXPECT_TRUE(t.st().IdtFileName.isEmpty());
    EXPECT_EQ(FileBytes(path), QByteArray("\x8C\xC3\x82\xA2\r\nrest"));

    QString offered;
    t.ui.files = {path};
    t.ui.answers = {true};
    t.ui.onTitleDialog = [&](TitleFields& f) {
        offered = f.title;
        return false;  // cancelled: nothing written
    };
    t.ed.finishedMaps.WriteMapClick();
    EXPECT_EQ(offered, QStringLiteral("古い"));
    EXPECT_EQ(FileBytes(path), QByteArray("\x8C\xC3\x82\xA2\r\nrest"));

    // A name without extension gets ".idt".
    t.ui.files = {t.Path("plain")};
    AnswerTitle(t, "x", "1.0");
    t.ed.finishedMaps.WriteMapClick();
    EXPECT_TRUE(QFileInfo::exists(t.Path("plain.idt")));
}

TEST(IdtWriter, BadFieldsWriteNothing) {
    struct Case {
        const char* field;
        const char* value;
        const char* mentions;
    } cases[] = {
        {"resX", "12a", "12a"},   {"resY", "40000", "40000"}, {"mag", "abc", "abc"},
        {"mag", "0", "0"},        {"mag", "4000", "80000"},   {"mag", "0.1", "0.1"},
        {"year", "1979", "1979"}, {"day", "30", "2024/2/30"},
    };
    for (const auto& c : cases) {
        TestEditor t;
        FillSmallMap(t);
        const QString path = t.Path("keep.idt");
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("previous");
        }
        t.ui.files = {path};
        t.ui.answers = {true};
        t.ui.onTitleDialog = [&](TitleFields& f) {
            f.year = "2024";
            f.month = "2";
            f.day = "3";
            f.hour = f.minute = f.second = "0";
            const QString v = QString::fromLatin1(c.value);
            const std::string field = c.field;
            if (field == "resX") f.resX = v;
            if (field == "resY") f.resY = v;
            if (field == "mag") f.magnification = v;
            if (field == "year") f.year = v;
            if (field == "day") f.day = v;
            return true;
        };
        t.ed.finishedMaps.WriteMapClick();
        EXPECT_EQ(FileBytes(path), QByteArray("previous")) << c.field << "=" << c.value;
        ASSERT_EQ(t.ui.messages.size(), 2u) << c.field << "=" << c.value;
        EXPECT_TRUE(t.ui.messages[1].text.contains(QLatin1String(c.mentions)))
            << c.field << "=" << c.value << ": " << t.ui.messages[1].text.toStdString();
    }
}

TEST(IdtWriter, AFailedWriteIsReported) {
    TestEditor t;
    FillSmallMap(t);
    t.ui.files = {t.Path("no/such/dir/out.idt")};
    AnswerTitle(t, "x", "1.0");
    t.ed.finishedMaps.WriteMapClick();
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages.back().icon, MsgIcon::Error);
    EXPECT_FALSE(t.ui.busy);

    // A full disk at the last step keeps the previous file and says why.
    QFile old(t.Path("out.idt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old map\r\n");
    old.close();
    safesave::SetRename([](const QString&, const QString&) { return ENOSPC; });
    t.ui.files = {t.Path("out.idt")};
    t.ed.finishedMaps.WriteMapClick();
    safesave::SetRename({});
    EXPECT_TRUE(
        t.ui.messages.back().text.contains(QStringLiteral("ディスクの空き容量が足りません")))
        << t.ui.LastText().toStdString();
    EXPECT_EQ(FileBytes(t.Path("out.idt")), QByteArray("old map\r\n"));
    EXPECT_EQ(QDir(t.dir->path()).entryList({"*.velmot-*"}, QDir::Files), QStringList());
}
