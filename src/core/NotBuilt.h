// Commands whose subsystem has not landed yet say so instead of pretending.
#pragma once

#include "core/Messages.h"
#include "core/Ui.h"

inline void NotBuilt(Ui& ui, const char* what) {
    ui.Inform(msg::Text(Msg::NotBuiltYet).arg(QLatin1String(what)), QStringLiteral("Velmot"),
              MsgIcon::Information);
}
