// Keeping the traced network plain: runs tidied, repeated segments dropped,
// the composed outlines taken back to the network.
#pragma once

#include "editor/EditorPart.h"

class NetworkUpkeep : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void TidyPointList();
    void RemoveRepeatedSegments();
    // The composed outlines hold every inner boundary twice; editing needs
    // the plain network back.
    void UndoComposed();
};
