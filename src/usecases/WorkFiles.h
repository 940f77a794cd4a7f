// Saving the work: the work file and, when there is an under-drawing, its
// bitmap beside it, written as a pair so a failure keeps the previous pair.
#pragma once

#include <QSize>
#include <string>

#include "formats/WorkFormat.h"
#include "raster/Surface.h"
#include "usecases/Result.h"

namespace usecase {

// Line 4 of the work file for a save under `names`: the bitmap's bare name in
// Shift-JIS, or "0" without an under-drawing. Fails (with the warning to
// show) when the name cannot be written in Shift-JIS, as it would never be
// found again on loading.
// kept: the line of an under-drawing that could not be read, written again
// instead of "0" so that the link survives.
Result WorkPictureLine(const Store& st, const WorkNames& names, std::string* picture,
                       std::string_view kept = {});

// Writes the work under `names`; pictureFile holds the under-drawing when the
// store has one. Existing files are replaced (asking is the caller's part).
// The georeference's files go with them, all or none. ok: written lists the
// bitmap (if any), the work file and the georeference's files.
Result SaveWork(const Store& st, const WorkNames& names, const QString& pictureFile,
                std::string_view keptPicture = {});

// Writes only the georeference's files of a work saved under `names` (the
// work file itself stays as it is), all or none, and removes what an older
// georeference left that would now mislead. ok: written lists the files.
Result SaveGeoRef(const Store& st, const WorkNames& names);

// A work file read and checked, not yet in any store.
struct WorkRead {
    Result result;
    WorkData data;
    QString picture;            // the companion bitmap beside the work file; empty: none
    bool pictureNamed = false;  // line 4 gives a name (not only a folder)
    QSize extent;               // what the surface must hold: the map and its picture
    georef::GeoRef geo;         // kept beside the work file; empty: none
    Message geoNote;            // it is there but could not be read (a warning)
};
WorkRead ReadWork(const QString& path);

// Reads the companion bitmap of a work file into the under-drawing's
// temporary file. Fails with the note to show (the work loads without it).
Result LoadWorkPicture(const WorkRead& read, const QString& pictureFile);

// What opening a work file did beyond filling the store, each note in the
// order the window shows it.
struct WorkOpened {
    bool picture = false;       // the companion bitmap is the under-drawing now
    Message pictureNote;        // why it is not (an information)
    bool surfaceGrown = false;  // the map needed a larger surface (tried)
    Message surfaceNote;        // the surface could not grow (a warning)
    Message readNotes;          // what reading had to mend (an information)
    Message geoNote;            // the georeference could not be read (a warning)
    // The picture line when the under-drawing it names could not be read
    // (empty otherwise), for a save that should keep the link.
    std::string keptPicture;
};

// Puts a work file read from `path` into st, which holds no work (a fresh
// store, or one the editor has reset): the map, its under-drawing copied into
// pictureFile, and a surface grown to hold every point. The work counts as
// saved; the map extent covers every point.
WorkOpened OpenWork(Store& st, Surface& surf, const QString& path, WorkRead&& read,
                    const QString& pictureFile);

// Whether the surface, `have` now, may grow to hold `need` without asking
// anyone: ok, or the refusal under caption.
Result SurfaceRoom(QSize need, QSize have, Msg caption);

// The under-drawing's pixels from its temporary file, to be shown; false with
// the reason when it cannot be read or shown.
bool ReadPicturePixels(const QString& file, Surface& pixels, QString* error);

// The largest coordinate any point, position or the legend box of a store
// reaches, with the map extent it records.
QSize MapExtent(const Store& st);

}  // namespace usecase
