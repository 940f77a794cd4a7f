// The surface cursor each mouse mode shows: one table, which the tools and
// the canvas both read, so that painting never needs to know the tools.
#pragma once

#include "base/Commands.h"
#include "store/Mode.h"

constexpr SurfaceCursor CursorOf(Mode m) {
    switch (m) {
        case Mode::Input:
            return SurfaceCursor::CrossLine;
        case Mode::Edit:
            return SurfaceCursor::CrossEdit;
        case Mode::LineKind:
            return SurfaceCursor::CrossKind;
        case Mode::Trimming:
            return SurfaceCursor::Cutter;
        case Mode::Jigsaw:
            return SurfaceCursor::PickUp;
        case Mode::AreaPosition:
            return SurfaceCursor::Arrow;
        case Mode::Legend:
            return SurfaceCursor::IndexPosition;
        case Mode::ControlPoints:
            return SurfaceCursor::CrossEdit;
    }
    return SurfaceCursor::Arrow;
}
