// Boundary data in and the composed map out, for the window and
// velmot-cli-gis alike. Built into the GIS library (velmot_gis), not the
// core: velmot-cli and the core do without GDAL/OGR, and nothing here names
// it.
#pragma once

#include <QSize>

#include "usecases/Result.h"
#include "gis/BoundaryImport.h"
#include "gis/MapExport.h"

namespace usecase {

struct ImportOutcome {
    Result result;              // ok: written holds the work file and its transform
    bool badInput = false;      // not ok because the data could not be used
    gis::ImportResult summary;  // what was read: layer, field, counts, notes
    Message notes;              // the summary's notes as one warning; empty when none
};

// Reads the boundary data in `input`, fitted into the options' pixel box,
// and writes it as the work file `output` with its transform beside it
// (NAME.vlm.json). Existing files are replaced: asking is the caller's part.
ImportOutcome ImportBoundaries(const QString& input, const QString& output,
                               const gis::ImportOptions& options);

// The image an export to `output` draws whole in memory before writing it
// (a PNG of the map's size, 4 bytes a pixel); empty for every other format,
// which needs none.
QSize ExportImageSize(const Store& st, const QString& output);

// Whether `output` names a format the export writes (by its extension).
Result ExportTarget(const QString& output);
// Refuses an output that is the transform kept beside workFile: the work
// would be left without its coordinates.
Result ExportBesideWork(const QString& output, const QString& workFile);

struct ExportOutcome {
    Result result;  // ok: written holds the output
    gis::ExportResult summary;
    bool sourceCoordinates = false;  // written in the imported data's own coordinates
};

// Writes the composed map in st to `output`, in the format its extension
// names. A transform kept beside workFile (when given) turns the pixels back
// into the coordinates the map was imported from. Composing first is the
// caller's part; the file is replaced without asking.
ExportOutcome ExportMap(const Store& st, const QString& workFile, const QString& output);

}  // namespace usecase
