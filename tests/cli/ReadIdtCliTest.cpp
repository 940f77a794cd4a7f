// velmot-cli reading a finished map from a pipe, which has no size, and
// refusing maps whose drawing surface would take more memory than allowed.
#include <gtest/gtest.h>

#include <QProcess>

#include "formats/IdtTestMap.h"
#include "formats/WorkFormat.h"
#include "support/CliRun.h"
#include "text/ShiftJis.h"

TEST(ReadIdtCli, ReadsAFinishedMapFromAPipe) {
    if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    TestEditor w;
    FillSmallMap(w);
    const QString idt = w.Path("m.idt"), out = w.Path("out.vlm");
    w.ui.files = {idt};
    AnswerTitle(w, "t", "1.0");
    w.ed.finishedMaps.WriteMapClick();
    const QByteArray bytes = FileBytes(idt);
    ASSERT_FALSE(bytes.isEmpty());

    // /dev/stdin is the pipe QProcess feeds: it has no size to go by.
    QProcess p;
    p.start(CliPath(), {"read-idt", "/dev/stdin", "-o", out});
    ASSERT_TRUE(p.waitForStarted());
    p.write(bytes);
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString said = QString::fromUtf8(p.readAllStandardOutput());
    WorkData d;
    QString error;
    ASSERT_TRUE(ReadWorkFile(out, d, &error)) << error.toStdString();
    // The same as reading the file itself.
    TestEditor r;
    ASSERT_TRUE(r.ed.finishedMaps.ReadFinishedMap(idt));
    EXPECT_GT(r.st().PointLast, 3);
    EXPECT_EQ(d.points, r.st().PointsToVector());
    EXPECT_EQ(d.kinds, r.st().KindsToVector());
    EXPECT_EQ(d.names.size(), 3u);
    EXPECT_EQ(said, QStringLiteral("/dev/stdin: 3 areas, %1 point records, %2 kind records -> %3\n")
                        .arg(d.points.size())
                        .arg(d.kinds.size())
                        .arg(out));
}

TEST(ReadIdtCli, WhatReadingLeftOutGoesToStderr) {
    if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    TestEditor w;
    QFile f(w.Path("long.idt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("T\r\n" +
            QByteArray::fromStdString(
                sjis::FromUnicode(QStringLiteral("あいうえおかきくけこ=5,5\r\n"))) +
            "@StartOfPoints\r\n" + QByteArray(4, '\0'));
    f.close();
    const CliRun r = Cli({"read-idt", f.fileName(), "-o", w.Path("long.vlm")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(
        r.err.startsWith(QStringLiteral("地図情報ファイルの読込: %1\n").arg(f.fileName())) &&
        r.err.contains(QStringLiteral("2 行目")))
        << r.err.toStdString();
}

TEST(ReadIdtCli, MapsBeyondTheMemoryBudgetAreRefused) {
    if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    TestEditor w;
    // One point at (2000, 2400): a surface of about 5 MB.
    QFile f(w.Path("far.idt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("T\r\n@StartOfPoints\r\n" + QByteArray::fromHex("00000000 d0076009 0a000a00 00000000"));
    f.close();
    const CliRun small =
        Cli({"read-idt", f.fileName(), "-o", w.Path("a.vlm"), "--max-memory", "1"});
    EXPECT_EQ(small.code, 2);
    EXPECT_TRUE(small.err.contains("1 MB")) << small.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(w.Path("a.vlm")));
    EXPECT_EQ(Cli({"read-idt", f.fileName(), "-o", w.Path("b.vlm")}).code, 0);

    // A 72-byte work file with a point at (32767, 32767) would take 1 GB.
    const CliRun far =
        Cli({"compose", VELMOT_SOURCE_DIR "/fuzz/corpus/fuzz_workfile/point-at-32767.vlm", "-o",
             w.Path("c.vlm")});
    EXPECT_EQ(far.code, 2);
    EXPECT_TRUE(far.err.contains("512 MB")) << far.err.toStdString();
    EXPECT_EQ(Cli({"read-idt", f.fileName(), "-o", w.Path("d.vlm"), "--max-memory", "x"}).code, 2);
}
