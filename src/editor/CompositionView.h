// The editor's composition view: the one painter (render::CompositionView)
// with the progress bar, for the window's composition and the batch tool.
#pragma once

struct Workbench;
class Surface;

void PaintCompositionView(Workbench& wb);
// The same on another surface than the editor's.
void PaintCompositionView(Workbench& wb, Surface& s);

// The point list readied for tracing, the first steps of the composition in
// the window and in a batch run alike: a separator at the end and every
// segment once. False, and nothing done, without lines or named areas.
bool ReadyCompositionNetwork(Workbench& wb);
