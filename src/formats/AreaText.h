// The area table as editable text: one line per area, "name = X,Y/X,Y...".
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "store/Store.h"

namespace areas {

struct AreaEntry {
    std::string name;      // Shift-JIS bytes, at most 18
    std::vector<Rec> pos;  // at most ten positions, each with X and Y >= 1
};

struct AreaText {
    std::vector<AreaEntry> areas;
    std::vector<int> cutLines;  // 1-based text lines whose name was shortened
    QString error;              // non-empty: the text was refused
};

// The listing of areas 1..AreaCount, one line each, lines joined by "\n".
QString ListAreaNames(const Store& st);
// One area's line as Shift-JIS bytes.
std::string AreaLine(const Store& st, int a);

// Parses the editor's text (CR LF, LF or a mix). The whole text is parsed
// before anything is stored, so a refused text leaves the table alone.
AreaText ParseAreaNames(const QString& text);
AreaText ParseAreaNameBytes(std::string_view text);

// Replaces the area table by the parsed areas.
void StoreAreas(Store& st, const std::vector<AreaEntry>& areas);

// "3, 7, 12" (at most a handful, then "…").
QString LineList(const std::vector<int>& lines);

}  // namespace areas
