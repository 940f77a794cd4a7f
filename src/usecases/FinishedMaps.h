// The finished map (.idt): writing the work as one, and reading one back.
#pragma once

#include <QDateTime>
#include <QSize>
#include <functional>

#include "formats/IdtReader.h"
#include "formats/IdtWriter.h"
#include "raster/Surface.h"
#include "usecases/Result.h"

namespace usecase {

// Whether the work can become a finished map: its legend must be placed.
Result FinishedMapReady(const Store& st);

// The title dialog's first fields for a write to `path`. A file already there
// lends the map its title line (it is the map being written again). Both
// change the store they are given: the editor hands them a copy of its map
// and commits the result through its document.
TitleFields FinishedMapFields(Store& st, const QString& path, const QDateTime& now);

// Writes the finished map to `path` with the dialog's fields. The title and
// remarks go into the work; the work counts as Modified when the title now
// differs from workTitle, the one it had before the command began (the work
// file keeps the title). ok with a warning when only the file time could
// not be set.
Result WriteFinishedMap(Store& st, const QString& path, const TitleFields& fields,
                        std::string workTitle);

// A finished map read and checked, not yet in any store.
struct FinishedMapRead {
    Result result;
    QString path;  // the name given, with ".idt" added when it had none
    idt::IdtContent content;
    QSize extent;        // what the surface must hold (at most 32767 each way)
    georef::GeoRef geo;  // written beside the map from a georeferenced work
};
FinishedMapRead ReadFinishedMap(const QString& chosen);

// What putting a finished map into the work said, each note in the order
// the window shows it.
struct FinishedMapOpened {
    Result result;              // not ok: the records do not fit (reset the store)
    Message segmentsNote;       // repeated segments could not be taken out (a warning)
    bool surfaceGrown = false;  // the surface changed size
    Message surfaceNote;        // the surface could not grow to the map (a warning)
    Message readNotes;          // what reading had to leave out (ReadNotes)
};

// Puts a finished map read by ReadFinishedMap into st, which holds no work (a
// fresh store, or one the editor has reset): title, remarks, legend, areas
// and records, every segment once, and a surface grown to hold the map. The
// work counts as saved and not composed. tick is called while the repeated
// segments are sought.
FinishedMapOpened OpenFinishedMap(Store& st, Surface& surf, FinishedMapRead&& read,
                                  const std::function<void()>& tick = {});

// The message for a map whose records do not fit the store; workKept says
// whether the current work is still as it was.
Message TooManyPoints(const QString& path, bool workKept);

// The notes about what reading had to leave out (names cut, areas dropped),
// as one warning; empty when nothing was.
Message ReadNotes(const QString& path, const std::vector<int>& cutNameLines, int droppedAreas);

}  // namespace usecase
