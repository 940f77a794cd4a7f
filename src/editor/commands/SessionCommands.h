// Start-up and shutdown: the settings, the temporary files, the surface's
// size, 終了.
#pragma once

#include <QRect>
#include <QString>
#include <cstddef>
#include "editor/EditorPart.h"

class WorkFileCommands;

class SessionCommands : public EditorPart {
  public:
    SessionCommands(Workbench& w, WorkFileCommands& workFiles)
        : EditorPart(w), workFiles_(workFiles) {}

    // Runs the start-up sequence; settingsDir overrides where the settings file
    // lives (empty: beside the program, or the user's configuration directory).
    void InitMain(const QString& programPath, const QString& settingsDir = QString());
    bool CloseQuery();
    void CloseMain(QRect normalBounds, bool maximized);
    void QuitClick();
    void SetProgramBase(const QString& programPath);
    void ReadSettings();
    void WriteSettings();
    void MakeTempNames();
    void DeleteTempFiles();
    QString SettingsPath() const;
    // Built-in size of the drawing surface.
    static constexpr int DefaultSurfaceWidth = 2560, DefaultSurfaceHeight = 1920;
    // Sets up the drawing surface at MapWidth x MapHeight (or the built-in
    // size), shrinking to four fifths until the memory can be had.
    void SetUpSurface();
    // Largest surface (in pixels) SetUpSurface may take; 0 means no limit
    // beyond what memory gives. Lets the shrinking be exercised.
    size_t surfacePixelLimit_ = 0;
    // The size the surface was set up with; saved as the "Image" setting even
    // when a large picture made the surface grow later.
    int surfaceSetupWidth_ = 0, surfaceSetupHeight_ = 0;

  private:
    WorkFileCommands& workFiles_;
};
