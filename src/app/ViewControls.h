// The view's own controls: the 表示 menu (zoom in, out, 1:1, whole map) with
// its keys, the magnification beside the coordinate read-out, and the status
// bar that shows the menu items' longer descriptions.
#pragma once

class MainWindow;

void AddViewControls(MainWindow& win);
