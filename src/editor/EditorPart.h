// A part of the editor: a service the commands share (the canvas, the modes,
// the command states, the undo steps, the session's files, the network's
// upkeep) or a handler group (the commands of one menu, popup or dialog, with
// the state they keep between calls). Every part reaches the person (through
// the Ui), the map (through the document, whose store it reads), the drawing
// surface and the program's settings, progress and temporary files directly;
// the other parts through the editor that owns it.
#pragma once

class Editor;
class Ui;
class Document;
class Store;
class Surface;
class Progress;
struct Settings;
struct TempFiles;

class EditorPart {
  public:
    explicit EditorPart(Editor& ed);
    EditorPart(const EditorPart&) = delete;
    EditorPart& operator=(const EditorPart&) = delete;

  protected:
    ~EditorPart() = default;

    Editor& ed;
    Ui& ui;
    Document& doc;
    const Store& st;  // doc's map: read here, changed through doc's operations only
    Surface& surf;
    Progress& progress;
    Settings& settings;
    TempFiles& temps;
};
