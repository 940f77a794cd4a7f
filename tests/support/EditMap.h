// Builds a test's situation the way a file read would: `change` writes into
// a copy of the editor's map, which the document then takes whole. Commands
// under test change the map through the document's operations only.
#pragma once

#include <utility>

#include "editor/Editor.h"

template <class F>
void EditMap(Editor& ed, F&& change) {
    Store s = ed.st;
    change(s);
    ed.doc.ReplaceMap(std::move(s));
}
