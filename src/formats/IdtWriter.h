// The finished-map file (".idt"): a Shift-JIS text header with CR LF line
// ends, then the point list and the kind list as 4-byte records (X, Y as
// little-endian int16).
#pragma once

#include <QDateTime>
#include <QIODevice>
#include <QString>
#include <string>
#include <vector>

#include "base/Messages.h"
#include "base/DialogFields.h"
#include "store/Store.h"

namespace idt {

inline constexpr char ProgramLine[] = "@Rem Velmot.exe version 1.22";
inline const QString FileFilter = msg::Text(Msg::FilterIdt);

struct Resolution {
    int x = 0, y = 0;
    friend bool operator==(Resolution a, Resolution b) { return a.x == b.x && a.y == b.y; }
};

// The smallest usual screen size that exceeds both maxima, else the smallest
// multiple of 640 x 480 that does.
Resolution DefaultResolution(int maxX, int maxY);
// Largest X and largest Y over the point list (0 when there is none larger).
void PointMaxima(const Store& st, int& maxX, int& maxY);
// The title dialog's initial fields: title, the given time, the maxima, the
// default resolution, magnification "1.0" and the stored remarks.
TitleFields DefaultTitleFields(const Store& st, const QDateTime& now);

// The values of one write, checked.
struct WriteValues {
    std::string title;  // Shift-JIS, at most 255 bytes
    int16_t resX = 0, resY = 0;
    double magnification = 1.0;
    QDateTime stamp;                   // local time, even seconds
    std::vector<std::string> remarks;  // at most 20, Shift-JIS
};

// Reads the dialog's texts into values; returns an error message (nothing
// may be written then) or an empty string.
QString ReadTitleFields(const TitleFields& f, WriteValues& v);
// The remark lines a memo gives: at most twenty, one trailing empty line dropped.
std::vector<std::string> MemoRemarks(const QStringList& lines);

// Rounds x * m to the nearest integer, halves to even.
int64_t Scaled(int v, double m);
// Checks that every written coordinate fits 16 bits and that no point moves
// onto X = 0 (where it would read as a separator); returns a message or "".
QString CheckScale(const Store& st, double m);

// Writes the whole file. False when the device refused a write.
bool WriteIdt(QIODevice& out, const Store& st, const WriteValues& v);

}  // namespace idt
