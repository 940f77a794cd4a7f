// How large the drawing surface may grow before the person is asked. A map
// or picture declares its size in a few bytes, but the surface costs a byte
// for every pixel of it: a work file of one point at (32767, 32767) would
// take a gigabyte. Beyond the budget the window asks first, and velmot-cli
// (which asks nobody) refuses.
#pragma once

#include <QString>
#include <cstdint>

struct SurfaceBudget {
    int64_t bytes = int64_t(512) << 20;
    bool ask = true;  // false: refuse with a message instead of asking
};

// The budget in force (one per process: the window or the command line).
SurfaceBudget& CurrentSurfaceBudget();

// The same decision for whoever cannot ask: empty when a surface of w x h
// pixels is within the budget, else the refusal to show.
QString SurfaceRefusal(int64_t w, int64_t h);

// The question to put to someone who can answer it, for a surface of w x h
// pixels beyond the budget.
QString SurfaceBudgetQuestion(int64_t w, int64_t h);

enum class Msg : int;
// The same budget for an image of w x h pixels at `depth` bytes each that is
// made besides the surface (a PNG drawn whole before it is written): empty
// when within, else the refusal worded by `refuse` (%1 x %2 pixels, %3 MB,
// the budget %4 MB).
QString ImageRefusal(int64_t w, int64_t h, int depth, Msg refuse);
// The question for someone who can answer it, worded by `ask` alike.
QString ImageBudgetQuestion(int64_t w, int64_t h, int depth, Msg ask);
