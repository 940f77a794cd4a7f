// The application object graph: the Qt Ui, the editor on it and the main
// window, created in the order the editor needs them.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "app/MainWindow.h"
#include "app/QtUi.h"
#include "core/Editor.h"

class VelmotApp {
  public:
    VelmotApp();
    ~VelmotApp();
    // Runs the editor's start-up (settings, temporary files, surface) and shows
    // the window; settingsDir as Editor::InitMain takes it.
    void Start(const QString& programPath, const QString& settingsDir = QString());
    // Opens a work file (".vlm") or a finished map (".idt") given on the command line.
    void OpenFromCommandLine(const QString& path);

    QtUi ui;
    Editor ed{ui};
    std::unique_ptr<MainWindow> win;
};

// Sets the application's names, style and font (before any window exists).
void SetUpApplication();
