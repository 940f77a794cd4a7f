// Generated outline maps for tests and benchmarks: a brick-laid (hexagonal in
// topology) tessellation of jittered cells whose neighbours share their
// boundary points exactly. Every boundary is stored once, as a user traces
// it: runs of row lines through the junctions and the short walls between
// them, in random order and direction. Each cell has a position well inside.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "store/Store.h"

struct MapRecipe {
    int cells = 300;  // about this many cells
    int unitW = 24;   // lattice spacing in pixels (a cell is two units wide)
    int unitH = 26;
    int step = 4;                // pixels between traced points along a boundary
    int jitter = 4;              // how far a junction moves off the lattice
    int cellsPerArea = 1;        // an area gets 1..cellsPerArea cells, one position each
    int extraPositionEvery = 0;  // every n-th area gets a second position in its first cell
    bool kinds = false;          // mark stretches of some row lines as line kinds, in pieces
    enum Damage { None, Gap, DuplicateSegment } damage = None;
    uint32_t seed = 1;
};

struct GeneratedMap {
    int cells = 0, areas = 0, positions = 0;
    int width = 0, height = 0;  // extent including the margin
    int damagedArea = 0;        // an area whose outline the damage touches
};

// Replaces the store's point list, kind list and areas with a generated map
// and sets MapWidth/MapHeight to its extent.
GeneratedMap GenerateMap(const MapRecipe& recipe, Store& st);
// The same into an editor's map, which its document takes whole.
class Editor;
GeneratedMap GenerateMap(const MapRecipe& recipe, Editor& ed);

// Writes the store as a work file (Shift-JIS, CR LF, "continue", no picture).
bool WriteWorkFileFor(const Store& st, const QString& path, QString* error = nullptr);
