// Keys over the drawing surface replay the mouse actions at the pointer and
// move the pointer (or scroll the view at its edges) with the arrow keys.
#include "editor/Editor.h"
#include "editor/tools/Tool.h"

namespace {

bool KeysApply(std::optional<SurfaceCursor> shown) {
    if (!shown) return false;
    switch (*shown) {
        case SurfaceCursor::CrossLine:
        case SurfaceCursor::CrossEdit:
        case SurfaceCursor::CrossKind:
        case SurfaceCursor::Cutter:
        case SurfaceCursor::PickUp:
            return true;
        default:
            return false;
    }
}

// Shift alone (no other modifier, no mouse button) gives the large step.
int StepFor(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    const Qt::KeyboardModifiers held =
        mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return held == Qt::ShiftModifier && buttons == Qt::NoButton ? 8 : 1;
}

}  // namespace

void Editor::KeyDown(int key, Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    StepScope scope(steps);
    // Ctrl+Z, Ctrl+A and the like belong to the window's shortcuts; a letter
    // command must not fire (switch modes, add a point) underneath them.
    const bool letter = key >= vk::A && key <= vk::Z;
    if (letter && (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) return;
    if (!KeysApply(ui.ShownSurfaceCursor())) return;
    const int step = StepFor(mods, buttons);
    QPoint s = ui.PointerScreenPos();
    const QPoint m = ui.ScreenToSurface(s);
    SetClick(int16_t(m.x()), int16_t(m.y()));

    const QPoint scroll = ui.ScrollPos();
    const QSize client = ui.ViewClientSize();
    switch (key) {
        // Towards the left and top the view scrolls within step + 1 pixels of
        // its edge, towards the right and bottom within step pixels.
        case vk::Left:
            if (m.x() - scroll.x() <= step + 1)
                ui.SetScrollPos(scroll - QPoint(step, 0));
            else
                s.rx() -= step;
            break;
        case vk::Right:
            if (client.width() + scroll.x() - m.x() <= step)
                ui.SetScrollPos(scroll + QPoint(step, 0));
            else
                s.rx() += step;
            break;
        case vk::Up:
            if (m.y() - scroll.y() <= step + 1)
                ui.SetScrollPos(scroll - QPoint(0, step));
            else
                s.ry() -= step;
            break;
        case vk::Down:
            if (client.height() + scroll.y() - m.y() <= step)
                ui.SetScrollPos(scroll + QPoint(0, step));
            else
                s.ry() += step;
            break;
        default:
            // Space, Return, A and Z are the mode's.
            if (modes.CurrentTool().Key(key, m)) return;
            break;
    }
    ui.SetPointerScreenPos(s);
    if (!st.Completed) states.EnableRemakeCommands();
}
