// What every part of the editor works with: the person (through the Ui), the
// map (through the document), the drawing surface, the program's settings,
// progress and temporary files, and the services that keep them in step. No
// handler group is reachable through it: a part that runs another group's
// handler takes that group in its constructor, so the headers say who calls
// whom.
#pragma once

#include <cstdint>

class Ui;
class Document;
class Store;
class Surface;
class Progress;
struct Settings;
struct TempFiles;
class Canvas;
class CommandStates;
class Modes;
class Steps;
class SessionFiles;
class NetworkUpkeep;

struct Workbench {
    Ui& ui;
    Document& doc;
    const Store& st;  // doc's map: read here, changed through doc's operations only
    Surface& surf;
    Progress& progress;
    Settings& settings;
    TempFiles& temps;
    Canvas& canvas;              // painting the work and its marks
    CommandStates& states;       // which menu items and buttons are enabled
    Modes& modes;                // the mouse modes' tools and the switch between them
    Steps& steps;                // the undo step around each door; 元に戻す / やり直し
    SessionFiles& sessionFiles;  // the work's file, autosave and recovery, recent files
    NetworkUpkeep& upkeep;       // keeping the network whole after edits

    // Where the last popup was asked for (or the pointer was when a key came);
    // the popup's commands act there. Not the map's: no undo step restores it.
    int16_t ClickX = 0, ClickY = 0;
    void SetClick(int16_t x, int16_t y) {
        ClickX = x;
        ClickY = y;
    }
};

// A full redraw of the work; false when the picture file could not be read
// (the caller stops). In line-kind mode it leaves the mode, whose exit
// repaints without the kinds' colours (which exist only on the surface).
bool ReDraw(Workbench& wb);
