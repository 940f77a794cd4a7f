// Widget tests need a QApplication; they run on the offscreen platform, with
// a data directory of their own so that no autosave of a real session is seen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "app/App.h"

int RunTracingChild();

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir data;
    if (qEnvironmentVariableIsEmpty("VELMOT_TRACING_CHILD"))
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    SetUpApplication();
    if (!qEnvironmentVariableIsEmpty("VELMOT_TRACING_CHILD")) return RunTracingChild();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
