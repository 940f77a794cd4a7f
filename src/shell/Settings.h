// What belongs to the running program rather than to the map: the settings
// file's values and the instance's temporary files. The window's session or
// the command-line run owns them; an undo step never touches them.
#pragma once

#include <QString>
#include <cstdint>

struct Settings {
    QString programBase;  // the program's path without extension
    QString dir;          // where the settings file lives; empty: the usual place
    int32_t winLeft = 190, winTop = 100, winWidth = 560, winHeight = 420;
    bool winMaximized = false;
    int16_t showHint = 1;
    // Seconds between autosaves ([SET] AutoSave; 0: none).
    int autosaveSeconds = 120;
    // The values as the file gave them: the file is written only when one
    // of them changed.
    QString positionText = QStringLiteral("190,100,560,420");
    bool positionSaved = false;  // the settings file holds a place for the window
    QString imageText = QStringLiteral("0,0");
    int16_t showHintLoaded = 1;
};

struct TempFiles {
    QString dir;
    QString picture;  // the under-drawing as a bitmap
    QString second, third;
};
