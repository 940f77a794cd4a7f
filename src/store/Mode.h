// The editor's mouse modes: what a press on the surface does. The values are
// the ones the modes have always been numbered by.
#pragma once

#include <cstdint>

enum class Mode : uint8_t {
    Input = 0,         // tracing: a click adds a point
    Edit = 1,          // dragging points, the edit popup
    AreaPosition = 2,  // the area-position dialog is open
    Legend = 3,        // the next click places the legend
    LineKind = 4,      // marking runs with a line kind
    Trimming = 5,      // corners of a trimming outline
    Jigsaw = 6,        // lifting and dropping pieces
    ControlPoints = 7, // a click places a control point, a drag moves one
};
