// velmot-cli read-idt reading its input from a pipe, which has no size.
#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>

#include "IdtTestMap.h"
#include "files/WorkFile.h"

namespace {

QString CliPath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const QString dir =
        ec ? QStringLiteral(".") : QString::fromStdString(self.parent_path().string());
    return dir + QStringLiteral("/velmot-cli");
}

}  // namespace

TEST(ReadIdtCli, ReadsAFinishedMapFromAPipe) {
    if (!QFileInfo(CliPath()).isExecutable()) GTEST_SKIP() << "velmot-cli is not built";
    TestEditor w;
    FillSmallMap(w);
    const QString idt = w.Path("m.idt"), out = w.Path("out.vlm");
    w.ui.files = {idt};
    AnswerTitle(w, "t", "1.0");
    w.ed.WriteMapClick();
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
    WorkData d;
    QString error;
    ASSERT_TRUE(ReadWorkFile(out, d, &error)) << error.toStdString();
    // The same as reading the file itself.
    TestEditor r;
    ASSERT_TRUE(r.ed.ReadFinishedMap(idt));
    EXPECT_GT(r.st().PointLast, 3);
    EXPECT_EQ(d.points, r.st().PointsToVector());
    EXPECT_EQ(d.kinds, r.st().KindsToVector());
    EXPECT_EQ(d.names.size(), 3u);
}
