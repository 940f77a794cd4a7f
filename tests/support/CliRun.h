// Runs velmot-cli, built beside the test programs, as the person runs it.
#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>

struct CliRun {
    int code = -1;
    QString out, err;
};

inline QString CliPath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const QString dir =
        ec ? QStringLiteral(".") : QString::fromStdString(self.parent_path().string());
    return dir + QStringLiteral("/velmot-cli");
}

inline CliRun Cli(const QStringList& args) {
    QProcess p;
    p.start(CliPath(), args);
    p.waitForFinished(300000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}
