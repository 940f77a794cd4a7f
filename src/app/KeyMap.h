// Qt key codes to the virtual-key codes the editor's keyboard commands use.
#pragma once

#include <Qt>

#include "editor/Editor.h"

// 0 for keys the editor has no use for.
inline int VirtualKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return vk::Return;
        case Qt::Key_Space:
            return vk::Space;
        case Qt::Key_Backspace:
            return vk::Backspace;
        case Qt::Key_Left:
            return vk::Left;
        case Qt::Key_Up:
            return vk::Up;
        case Qt::Key_Right:
            return vk::Right;
        case Qt::Key_Down:
            return vk::Down;
        default:
            break;
    }
    // Letters and digits share their codes in both schemes.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    return 0;
}
