// A started application (editor, Qt Ui, main window) whose program and
// settings file live in a private temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "app/App.h"
#include "support/EditMap.h"

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = std::make_unique<VelmotApp>();
        app->Start(ProgramPath());
    }
    void TearDown() override {
        if (app && app->win->isVisible()) {
            EditMap(app->ed, [&](Store& s_) { s_.Modified = false; });
            app->win->close();
        }
        app.reset();
    }
    QString ProgramPath() const { return dir.filePath(QStringLiteral("velmot")); }
    QString SettingsFile() const { return dir.filePath(QStringLiteral("velmot.INI")); }
    MainWindow& Win() { return *app->win; }

    QTemporaryDir dir;
    std::unique_ptr<VelmotApp> app;
};
