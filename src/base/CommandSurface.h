// The state of the commands as the person sees them: enabled items, check
// marks, captions, mode buttons, cursor and the attached popup. An undo step
// keeps it beside the map, so that stepping back also brings back the menus.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <utility>

#include "base/Commands.h"

struct CommandSurface {
    std::array<std::optional<bool>, size_t(Cmd::Count_)> enabled{}, checked{};
    std::array<std::optional<QString>, size_t(Cmd::Count_)> captions{};
    std::optional<std::pair<bool, bool>> modeButtons;
    std::optional<SurfaceCursor> cursor;
    Popup attached = Popup::None;
};

// Whoever shows the commands: it says what they look like now and can be
// set back to an earlier look.
class CommandSurfaceKeeper {
  public:
    virtual ~CommandSurfaceKeeper() = default;
    virtual const CommandSurface& Surface() const = 0;
    // Sets whatever differs between now and `to`.
    virtual void Replay(const CommandSurface& to) = 0;
};
