// The pictures the window needs: the six surface cursors, the tool-bar
// glyphs and the program icon. They are drawn at run time, so they stay
// sharp and need no binary resources.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

#include "base/Commands.h"

// The cursor shown over the drawing surface for c (Arrow gives the normal arrow).
QCursor SurfaceCursorShape(SurfaceCursor c);
// The hot spot each custom cursor is drawn around.
QPoint SurfaceCursorHotSpot(SurfaceCursor c);
// The 32 x 32 picture of a custom cursor (null for Arrow).
QPixmap SurfaceCursorPixmap(SurfaceCursor c);

// Glyph of a tool-bar button (SpFileOpen .. SpRemake); null icon for others.
QIcon ToolGlyph(Cmd c);

// The program icon, at any size.
QIcon ProgramIcon();

// The user-interface font: a proportional Japanese Gothic, 12 pixels.
QFont UiFont();
