// 境界線最終編成: the final composition and what it leaves for reports.
#pragma once

#include <QPoint>
#include <QString>
#include "render/RedMark.h"
#include "editor/EditorPart.h"

class ComposeCommands : public EditorPart {
  public:
    using EditorPart::EditorPart;

    void ReMakeLineClick();
    // Where the last composition stopped, for reports (area 0: it did not
    // fail at a position). reason: the stable key of compose::ReasonKey.
    struct ComposeStop {
        int area = 0, slot = 0;
        QPoint position, place;
        QString reason;
    } composeStop;
    // The region the last composition failed in, kept red on the view after
    // its message until the next command.
    RedMark composeFailMark_;
    // The composition's own preparation: the point list ends with a separator
    // and holds every segment once, and the surface shows it yellow on black
    // with the nodes lime. False (nothing done) without lines or areas.
    bool PrepareComposition();
    // Joins the kind groups that meet end to end (compose/KindMerge.h).
    void MergeKindGroups();
};
