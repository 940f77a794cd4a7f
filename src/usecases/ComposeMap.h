// The final composition of the work: one closed outline per area position,
// then the rebuilt point list. A thin call into compose/ that turns its
// outcome into what the window shows and what a batch run reports.
#pragma once

#include <QPoint>
#include <functional>
#include <optional>

#include "base/Progress.h"
#include "compose/Composer.h"
#include "doc/Document.h"
#include "usecases/Result.h"

namespace usecase {

struct ComposeOptions {
    // Readies the point list (separator at the end, every segment once) and
    // paints the network the tracing reads. Required: the window paints its
    // view with progress, a batch run may paint less.
    std::function<void()> prepare;
    compose::ComposeHooks hooks;
};

// How the window shows a failure.
enum class FailureShown {
    Box,      // a message box
    AtMarks,  // beside the red marks, the view centred on `centre`
    Already,  // the lost-way hook showed it at the node
};

struct ComposeOutcome {
    Result result;
    bool nothing = false;  // no lines or no areas: nothing was done
    // Where it stopped (area 0: not at a position), for reports.
    int area = 0, slot = 0;
    QPoint position, place;
    QString reason;  // compose::ReasonKey
    FailureShown shown = FailureShown::Box;
    QPoint centre;
    // On success: areas, outlines traced (one per position), point records.
    int areas = 0, outlines = 0;
    int32_t records = 0;
};

// Composes the document's map on surf. On success the work is Completed and
// Composed; on failure the map is as the preparation left it and the
// surface shows the failure's marks. Either way it is Modified.
ComposeOutcome ComposeMap(Document& doc, Surface& surf, const ComposeOptions& options);

// Every segment once, tidied, and the composition forgotten; a list that
// would not fit the store is left as it was, with the reason in *refused.
void RemoveRepeatedSegments(Document& doc, Progress* progress, Message* refused);

// The point list readied for tracing, the composition's first step in the
// window and in a batch run alike: a separator at the end and every segment
// once. False, and nothing done, without lines or named areas.
bool ReadyCompositionNetwork(Document& doc, Progress* progress, Message* refused);

}  // namespace usecase
