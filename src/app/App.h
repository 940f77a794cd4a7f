// The application object graph: the Qt Ui, the editor on it and the main
// window, created in the order the editor needs them.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "app/MainWindow.h"
#include "app/QtUi.h"
#include "app/WorkWatcher.h"
#include "editor/Editor.h"

class VelmotApp {
  public:
    VelmotApp();
    ~VelmotApp();
    // Runs the editor's start-up (settings, temporary files, surface) and shows
    // the window; settingsDir as Editor::InitMain takes it.
    void Start(const QString& programPath, const QString& settingsDir = QString());
    // Offers the autosaves of instances that are gone, then opens the file
    // given on the command line (a work file, a finished map or a picture,
    // told apart by content) unless an autosave was brought back.
    void OpenAtStart(const QString& path);
    // Opens a work file, a finished map or a picture given on the command line.
    void OpenFromCommandLine(const QString& path);

    QtUi ui;
    Editor ed{ui};
    std::unique_ptr<MainWindow> win;
    WorkWatcher* watcher = nullptr;  // owned by the window
};

// Sets the application's names, style and font (before any window exists).
void SetUpApplication();
// Loads Qt's own Japanese texts (file dialogs, standard buttons).
void LoadQtTranslations();
