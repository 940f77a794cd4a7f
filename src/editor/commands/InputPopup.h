// Point input: the input mode's new points and the input popup's commands.
#pragma once

#include <cstdint>
#include "editor/EditorPart.h"

class InputPopup : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void AddPoint(int x, int y);
    void PopLastPoint();
    void PopCutLine();
    void PopWrongPoint();
    void PopConnectStartPoint();
    void PopConnectNearPoint();
    void PopNearPointStart();
    // Refuses (with a message) when n more point records would not fit.
    bool RoomForPoints(int64_t n);
};
