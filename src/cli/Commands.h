// The batch commands; each returns the process exit code
// (0 success, 1 the work failed, 2 bad usage or unreadable input).
#pragma once

#include <QStringList>

namespace cli {
int RunCompose(const QStringList& args);
int RunCheck(const QStringList& args);
int RunReadIdt(const QStringList& args);
int RunInfo(const QStringList& args);
int RunImport(const QStringList& args);
int RunExport(const QStringList& args);
int RunTrace(const QStringList& args);
int RunClean(const QStringList& args);
int RunGeoref(const QStringList& args);
}  // namespace cli
