// Record-by-record forms of the whole-list network operations, shifting the
// store's records one deletion at a time and comparing every segment with
// every later one. Slow on purpose: they are the reference the fast forms
// must match exactly.
#pragma once

#include <vector>

#include "store/Store.h"

namespace literal {

void TidyPointList(Store& s);
void RemoveRepeatedSegments(Store& s);

}  // namespace literal
