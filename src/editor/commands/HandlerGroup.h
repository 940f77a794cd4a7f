// A handler group: the commands of one menu, popup or dialog, with the state
// they keep between calls. Every group reaches the person (through the Ui),
// the map (through the document, whose store it reads), the drawing surface
// and the program's settings, progress and temporary files directly; the
// services and the other groups through the editor that owns it.
#pragma once

class Editor;
class Ui;
class Document;
class Store;
class Surface;
class Progress;
struct Settings;
struct TempFiles;

class HandlerGroup {
  public:
    explicit HandlerGroup(Editor& ed);
    HandlerGroup(const HandlerGroup&) = delete;
    HandlerGroup& operator=(const HandlerGroup&) = delete;

  protected:
    ~HandlerGroup() = default;

    Editor& ed;
    Ui& ui;
    Document& doc;
    const Store& st;  // doc's map: read here, changed through doc's operations only
    Surface& surf;
    Progress& progress;
    Settings& settings;
    TempFiles& temps;
};
