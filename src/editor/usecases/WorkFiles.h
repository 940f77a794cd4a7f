// Saving the work: the work file and, when there is an under-drawing, its
// bitmap beside it, written as a pair so a failure keeps the previous pair.
#pragma once

#include <QSize>
#include <string>

#include "editor/usecases/Result.h"
#include "files/WorkFile.h"

namespace usecase {

// Line 4 of the work file for a save under `names`: the bitmap's bare name in
// Shift-JIS, or "0" without an under-drawing. Fails (with the warning to
// show) when the name cannot be written in Shift-JIS, as it would never be
// found again on loading.
Result WorkPictureLine(const Store& st, const WorkNames& names, std::string* picture);

// Writes the work under `names`; pictureFile holds the under-drawing when the
// store has one. Existing files are replaced (asking is the caller's part).
// ok: written lists the bitmap (if any) and the work file.
Result SaveWork(const Store& st, const WorkNames& names, const QString& pictureFile);

// A work file read and checked, not yet in any store.
struct WorkRead {
    Result result;
    WorkData data;
    QString picture;            // the companion bitmap beside the work file; empty: none
    bool pictureNamed = false;  // line 4 gives a name (not only a folder)
    QSize extent;               // what the surface must hold: the map and its picture
};
WorkRead ReadWork(const QString& path);

// Reads the companion bitmap of a work file into the under-drawing's
// temporary file. Fails with the note to show (the work loads without it).
Result LoadWorkPicture(const WorkRead& read, const QString& pictureFile);

// The largest coordinate any point, position or the legend box of a store
// reaches, with the map extent it records.
QSize MapExtent(const Store& st);

}  // namespace usecase
