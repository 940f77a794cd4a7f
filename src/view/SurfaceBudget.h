// How large the drawing surface may grow before the person is asked. A map
// or picture declares its size in a few bytes, but the surface costs a byte
// for every pixel of it: a work file of one point at (32767, 32767) would
// take a gigabyte. Beyond the budget the window asks first, and velmot-cli
// (which asks nobody) refuses.
#pragma once

#include <QString>
#include <cstdint>

class Ui;

struct SurfaceBudget {
    int64_t bytes = int64_t(512) << 20;
    bool ask = true;  // false: refuse with a message instead of asking
};

// The budget in force (one per process: the window or the command line).
SurfaceBudget& CurrentSurfaceBudget();

// True when a surface of w x h pixels may be had: it is within the budget,
// or the person agreed. Otherwise the person has said no or has been told
// why not (under caption), and the caller leaves everything as it was.
bool MayGrowSurface(Ui& ui, int64_t w, int64_t h, const QString& caption);

// The same decision for whoever cannot ask: empty when a surface of w x h
// pixels is within the budget, else the refusal to show.
QString SurfaceRefusal(int64_t w, int64_t h);
