// What the person's dialogs carry: plain values that the formats and the
// use cases fill or read without knowing how they are asked.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

enum class MsgIcon { None, Information, Warning, Error };

// The answers to "save the unsaved work first?".
enum class SaveChoice { Save, Discard, Cancel };

// Fields of the title dialog of the finished-map writer, as texts.
struct TitleFields {
    QString title;                     // Edit1
    QString hour, minute, second;      // Edit5, Edit6, Edit7
    QString year, month, day;          // Edit8, Edit9, Edit10
    int maxX = 0, maxY = 0;            // LabelX, LabelY
    QString resX, resY;                // Edit2, Edit3
    QString magnification = "1.0";     // Edit4
    QStringList remarks;               // Memo1 lines
};

// Fields of the move/scale dialog, as texts.
struct MoveFields {
    QString dx = "0", dy = "0", factor = "1.0";
};

// One entry of the list of problems 全区域の点検 found: an area position
// whose outline cannot be composed.
struct CheckRow {
    int area = 0, slot = 0;  // slot: 0-based, as the position boxes count from 1
    QString name;            // the area's name
    QString reason;          // short, for the list
    QString message;         // the whole message, as the composition gives it
    QPoint place;            // the spot to look at, in surface pixels
};

// 基準点: the real coordinates of one control point, as texts, and its
// coordinate system ("EPSG:6677"; empty keeps the work's own, known only by
// its WKT). crsChoices: the short list the dialog offers, code then name.
struct ControlPointFields {
    QString x, y;
    QString crs;
    std::vector<std::pair<QString, QString>> crsChoices;
};

// One row of the control-point table: the point, and its fit when there is one.
struct ControlPointRow {
    double px = 0, py = 0, x = 0, y = 0;
    bool enabled = true;
    bool fitted = false;
    double residualPx = 0, residual = 0;
    bool leftOut = false;
    double leaveOneOutPx = 0;
};

struct ControlPointTable {
    bool open = false;  // false: the table closes
    std::vector<ControlPointRow> rows;
    QString crs;                   // the coordinate system shown
    int method = 0;                // georef::Method, as the dialog's list orders them
    QStringList methods;           // the list's captions
    QString summary;               // RMS and leave-one-out, or why there is no fit
    QStringList warnings;
};
