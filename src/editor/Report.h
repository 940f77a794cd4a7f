// How the editor puts what a lower floor decided to the person.
#pragma once

#include <QSize>
#include <QString>
#include <cstdint>

#include "editor/Ui.h"
#include "usecases/Result.h"

// True when a surface of w x h pixels may be had: it is within the budget,
// or the person agreed. Otherwise the person has said no or has been told
// why not (under caption), and the caller leaves everything as it was.
bool MayGrowSurface(Ui& ui, int64_t w, int64_t h, const QString& caption);

// The same for an image of w x h pixels at `depth` bytes each made besides
// the surface: asked with `ask`, or refused with `refuse` where nobody may be
// asked (see raster/SurfaceBudget.h).
bool MayTakeImage(Ui& ui, int64_t w, int64_t h, int depth, Msg ask, Msg refuse,
                  const QString& caption);

struct Workbench;
// True when the surface may grow to hold a picture of this size: within the
// surface budget, or the person agreed.
bool RoomForPicture(Workbench& wb, QSize size, const QString& caption);

namespace usecase {

// Shows a result's message in a box (nothing when it has none).
inline void Show(Ui& ui, const Message& m) {
    if (!m.Empty()) ui.Inform(m.Text(), m.Caption(), m.icon);
}

}  // namespace usecase
