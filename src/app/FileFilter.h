// The core describes file types as "description(*.ext)|*.ext|..." pairs;
// Qt's file dialog wants "description (*.ext);;...".
#pragma once

#include <QString>

QString QtFileFilter(const QString& pairs);
// "vlm" from ".vlm" or "vlm"; empty stays empty.
QString DialogSuffix(const QString& defaultExt);
