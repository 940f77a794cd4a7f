// The georeference on disk. NAME.vlm.json beside the work file holds all of
// it; beside the work's bitmap it is also written in forms GIS tools read: a
// world file (NAME.bpw) and NAME.prj for an affine transform, or control
// points in NAME.bmp.aux.xml, which also carries the coordinate system.
// Plain text, written without a GIS library, so every save can carry it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "georef/GeoRef.h"

namespace georef {

// NAME.vlm -> NAME.vlm.json
QString JsonPathFor(const QString& workFile);

QByteArray ToJson(const GeoRef& g);
// False (with the reason) when the bytes are not a georeference this
// program wrote, or one that would give no usable coordinates.
bool FromJson(const QByteArray& bytes, GeoRef& g, QString* why);

enum class ReadState { Absent, Read, Unreadable };
// Reads the georeference kept beside a work or finished-map file.
ReadState ReadBeside(const QString& file, GeoRef& g, QString* why);

struct SideFile {
    QString path;
    QByteArray bytes;
};
// The files that keep g beside `file` (a work file or a finished map) and,
// when bitmap is not empty, beside its bitmap. Nothing for an empty g.
std::vector<SideFile> SideFiles(const GeoRef& g, const QString& file, const QString& bitmap);
// Files an earlier save left beside `file` and its bitmap that would now
// claim the wrong coordinates: to be removed once the new files are in
// place. Only ever our own: the bitmap's world file and aux file go only
// when the JSON beside `file` shows we wrote them.
QStringList StaleSideFiles(const GeoRef& g, const QString& file, const QString& bitmap);

}  // namespace georef
