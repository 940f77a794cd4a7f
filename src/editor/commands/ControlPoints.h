// 基準点: control points placed on the map in the window, their real
// coordinates, and the table of their fit. The points live in the store's
// georeference, so each change is one undo step and travels with every save.
#pragma once

#include <QPoint>
#include <QString>
#include <optional>

#include "editor/Ui.h"
#include "georef/GeoRef.h"
#include "usecases/GeoReference.h"

struct Workbench;

class ControlPoints {
  public:
    explicit ControlPoints(Workbench& w) : wb_(w) {}

    // The fit and the coordinate systems (GDAL's); the window hands them in.
    usecase::GeoRefBackend backend;

    // ---- entry points; each is one undo step ----
    // A click at surface pixel p: asks for the real coordinates and adds the point.
    void Place(QPoint p);
    // Asks again for point i's real coordinates (and the system).
    void EditCoordinates(int i);
    // Point i now lies at (px, py) on the map.
    void Move(int i, double px, double py);
    // The table's numbers for point i.
    void SetNumbers(int i, double px, double py, double x, double y);
    void Switch(int i, bool on);
    void Remove(int i);
    void SetMethod(georef::Method m);
    void ShowTable();
    void TableClosed() { tableOpen_ = false; }

    // After every step and every undo or redo: the table and the marks
    // follow the map's georeference.
    void Follow();
    // The point whose mark is within reach of p, or -1.
    int PointAt(QPoint p, double reach) const;
    // The fit of the georeference as it is now; nullopt without a backend.
    const usecase::GeoRefFit* Fit();
    ControlPointTable Table();
    bool TableOpen() const { return tableOpen_; }

  private:
    // Asks for coordinates into f until they read right; false on cancel.
    bool AskCoordinates(ControlPointFields& f, georef::GeoRef& g, double* x, double* y);
    // The points changed: fits them and puts the georeference into the map.
    void Commit(georef::GeoRef g);
    QSize MapSize() const;

    Workbench& wb_;
    bool tableOpen_ = false;
    std::optional<georef::GeoRef> shown_;
    std::optional<usecase::GeoRefFit> fit_;
    georef::GeoRef fitFor_;
};
