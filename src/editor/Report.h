// How the editor puts what a lower floor decided to the person.
#pragma once

#include <QString>
#include <cstdint>

#include "editor/Ui.h"
#include "usecases/Result.h"

// True when a surface of w x h pixels may be had: it is within the budget,
// or the person agreed. Otherwise the person has said no or has been told
// why not (under caption), and the caller leaves everything as it was.
bool MayGrowSurface(Ui& ui, int64_t w, int64_t h, const QString& caption);

namespace usecase {

// Shows a result's message in a box (nothing when it has none).
inline void Show(Ui& ui, const Message& m) {
    if (!m.Empty()) ui.Inform(m.Text(), m.Caption(), m.icon);
}

}  // namespace usecase
