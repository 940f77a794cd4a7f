// The editor's composition view: the one painter (render::CompositionView)
// with the progress bar, for the window's composition and the batch tool.
#pragma once

class Editor;

void PaintCompositionView(Editor& ed);
