// The document: the map being edited (its store: point and kind lists, area
// table, legend, extent, title, picture state and the work's flags) and its
// undo history. Everything reads the map through Map(); it changes only
// through the operations below, each named after what happened, so that no
// command writes a field the others do not know about.
//
// The undo: the states of the map (store, surface, picture file, command
// surface) recorded around each command, and the steps back and forward
// between them. A step is recorded when the map changed; a command that
// changed only flags, the mode or marks on the surface updates the current
// state instead, so those come back with it.
#pragma once

#include <QRect>
#include <string>
#include <vector>

#include "doc/History.h"

class Document {
  public:
    // pictureFile: where the under-drawing is kept while the program runs.
    Document(Surface& surf, CommandSurfaceKeeper& ui, const QString& pictureFile)
        : surf_(surf), ui_(ui), pictureFile_(pictureFile) {}

    const Store& Map() const { return st_; }

    // ---- the point list ----
    // Appends one record; false and nothing changes when the list is full.
    bool AppendPoint(int16_t x, int16_t y) { return st_.AppendPoint(x, y); }
    // Inserts before record i; refused (false) when the list is full.
    bool InsertPoint(int32_t i, int16_t x, int16_t y) { return st_.InsertPoint(i, x, y); }
    void DeletePoints(int32_t start, int32_t count) { st_.DeletePoints(start, count); }
    // A point moved (or a record turned into a separator).
    void MovePoint(int32_t i, int16_t x, int16_t y) { st_.SetPoint(i, x, y); }
    // The list ends at record `last` now; what lay beyond is dropped.
    void CutPointsAfter(int32_t last) { st_.PointLast = last; }
    // The whole list rewritten (tidied, trimmed, composed); refused like
    // Store::AssignPoints.
    bool ReplacePoints(const std::vector<Rec>& v) { return st_.AssignPoints(v); }

    // ---- the kind list ----
    void AppendKind(Rec r) { st_.SetKind(++st_.KindLast, r); }
    void DeleteKinds(int32_t start, int32_t count) { st_.DeleteKinds(start, count); }
    bool ReplaceKinds(const std::vector<Rec>& v) { return st_.AssignKinds(v); }

    // ---- the area table ----
    bool NameArea(int a, std::string_view bytes) { return st_.SetAreaName(a, bytes); }
    void PlaceArea(int k, int a, Rec p) { st_.AreaPos(k, a) = p; }
    void SetAreaCount(int n) { st_.AreaCount = int16_t(n); }

    // ---- map info ----
    void PlaceLegend(int16_t x, int16_t y) {
        st_.LegendX = x;
        st_.LegendY = y;
    }
    void SetExtent(int16_t w, int16_t h) {
        st_.MapWidth = w;
        st_.MapHeight = h;
    }
    void SetTitle(std::string bytes) { st_.MapTitle = std::move(bytes); }
    void SetGeoRef(georef::GeoRef g) { st_.Geo = std::move(g); }
    // Comments 1..n; those beyond n stay as they were, unread.
    void SetComments(const std::vector<std::string>& lines) {
        st_.MapCommentCount = int16_t(lines.size());
        for (size_t i = 0; i < lines.size() && i < size_t(Store::MaxComments); ++i)
            st_.MapComments[i + 1] = lines[i];
    }

    // ---- the under-drawing ----
    // A picture became the under-drawing, shown.
    void PictureTaken() { st_.BasePicLoaded = st_.BasePicShown = true; }
    // The work has no under-drawing (new or loaded work); one that comes
    // later is shown.
    void NoPicture() {
        st_.BasePicLoaded = false;
        st_.BasePicShown = true;
    }
    // 下絵消去: the picture goes, its shown state stays.
    void PictureCleared() { st_.BasePicLoaded = false; }
    void ShowPicture(bool shown) { st_.BasePicShown = shown; }

    // ---- the work's flags (Store explains them) ----
    void MarkEdited() { st_.MarkEdited(); }
    void MarkChanged() { st_.MarkChanged(); }
    void DropCompleted() { st_.DropCompleted(); }
    void MarkSaved() { st_.MarkSaved(); }
    void MarkComposed() { st_.MarkComposed(); }
    void ForgetComposition() { st_.ForgetComposition(); }
    void ClearFlags() { st_.ClearFlags(); }

    // ---- the names the file dialogs propose ----
    void NameWorkFile(const QString& path) { st_.WorkFileName = path; }
    void NameFinishedMap(const QString& path) { st_.IdtFileName = path; }

    // ---- the editor's state kept with the map ----
    void SetMode(::Mode m) { st_.Mode = m; }

    // ---- the whole map at once ----
    // A map read from a file, imported, composed or reset: it replaces the
    // one being edited. The pages it shares with the old one stay shared
    // (with the undo history too), so this costs what was rewritten.
    void ReplaceMap(Store s) { st_ = std::move(s); }

    // ---- undo ----
    History& Steps() { return history_; }
    // Another file was opened or a new work begun: the steps recorded so far
    // belong to the map that went, and none of them may come back over this
    // one. The next record starts the history afresh.
    void BeginHistory() { history_.Clear(); }
    // Off for one-shot runs (the command-line tool) that never step back.
    bool recording = true;

    // Records the state as it is now; true when it made a new step.
    // `changed` receives the part of the surface that differs from the
    // state before.
    bool Checkpoint(QRect* changed = nullptr);

    struct Restored {
        QRect changed;                // surface pixels that changed
        bool resized = false;         // the surface changed size
        bool pictureChanged = false;  // the under-drawing's file was rewritten
    };
    // Puts the live store, surface, picture file and command surface into the
    // current state, or one step back or forward.
    Restored RestoreCurrent() { return Restore(history_.Current()); }
    Restored Undo() { return Restore(history_.Back()); }
    Restored Redo() { return Restore(history_.Forward()); }

  private:
    Restored Restore(DocState& s);
    Store st_;
    Surface& surf_;
    CommandSurfaceKeeper& ui_;
    const QString& pictureFile_;
    History history_;
    // The step whose map is the one on disk (or, for a new work, the empty
    // one): stepping back or forward onto it clears Modified, and off it sets
    // Modified. 0: no step holds it any more.
    uint64_t savedStep_ = 0;
};
