// The core describes file types as "description(*.ext)|*.ext|..." pairs;
// Qt's file dialog wants "description (*.ext);;...".
#pragma once

#include <QString>

QString QtFileFilter(const QString& pairs);
// "vlm" from ".vlm" or "vlm"; empty stays empty.
QString DialogSuffix(const QString& defaultExt);
// The extension a Qt filter names first ("svg" from "SVG(*.svg)"); empty
// for one that takes every file.
QString FilterSuffix(const QString& qtFilter);
