// Commands whose subsystem has not landed yet say so instead of pretending.
#pragma once

#include "core/Ui.h"

inline void NotBuilt(Ui& ui, const char* what) {
    ui.Inform(QStringLiteral("この機能 (%1) はまだ使えません。").arg(QLatin1String(what)),
              QStringLiteral("Velmot"), MsgIcon::Information);
}
