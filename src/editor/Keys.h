// Values the editor's parts share with the window: the drawing operations'
// default colour and the platform key codes the keyboard commands react to.
#pragma once

// Colour argument for the drawing operations: a palette index, or -1 for the
// default (magenta lines, white points).
constexpr int DefaultColour = -1;

// Platform virtual-key codes the keyboard commands react to.
namespace vk {
constexpr int Backspace = 0x08, Return = 0x0D, Space = 0x20, Left = 0x25, Up = 0x26, Right = 0x27,
              Down = 0x28, A = 0x41, Z = 0x5A;
}
