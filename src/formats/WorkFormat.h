// The work file (".vlm"): the whole map being edited as Shift-JIS text, one
// number or name per line, CR LF. Reading goes into a WorkData of its own, so
// a damaged file never touches the work in the editor; writing streams the
// store straight out.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/Store.h"

class QIODevice;

struct WorkData {
    std::string title;  // Shift-JIS bytes, at most 255
    int16_t legendX = -1, legendY = -1;
    std::string picture;  // line 4: the companion bitmap's name, "0" for none
    int16_t mapWidth = 0, mapHeight = 0;
    std::vector<Rec> points;         // records 0..PointLast
    std::vector<std::string> names;  // areas 1..AreaCount, each at most 18 bytes
    std::vector<std::array<Rec, Store::Slots>> positions;  // areas 1..AreaCount
    bool completed = false;
    std::vector<Rec> kinds;  // records 0..KindLast
    // What had to be cut to fit (over-long names), worded for the person.
    QStringList notes;
};

// Reads a work file. On failure returns false with a message naming the file
// and the line; out is then unspecified.
bool ReadWorkFile(const QString& path, WorkData& out, QString* error);
// The same from any device; displayName stands for the file in messages.
bool ReadWork(QIODevice& in, const QString& displayName, WorkData& out, QString* error);

// Writes the store in work-file form; picture is line 4 ("0" when there is no
// under-drawing). False when the device refuses the bytes.
bool WriteWork(QIODevice& out, const Store& st, std::string_view picture);
// Writes a work file through a temporary file, so a failure keeps the old one.
bool WriteWorkFile(const QString& path, const Store& st, std::string_view picture, QString* error);

// Puts what was read into the store (which the caller has just reset).
void ApplyWork(WorkData&& d, Store& st);

// The file names a save under `chosen` produces: the work file keeps an
// extension the person typed (".vlm" when there is none), the bitmap is the
// same base name with ".bmp".
struct WorkNames {
    QString work, bitmap;
};
WorkNames WorkFileNames(const QString& chosen);
