// A small composed map shared by the finished-map tests.
#pragma once

#include <QFile>

#include "support/FakeUi.h"

inline void FillSmallMap(TestEditor& t) {
    t.Chain({{3, 5}, {5, 7}, {9, 5}, {3, 5}});
    EditMap(t.ed, [&](Store& s_) {
        s_.KindLast = -1;
        for (Rec r : {Rec{0, -9}, Rec{3, 5}, Rec{5, 7}}) s_.SetKind(++s_.KindLast, r);
        s_.AreaCount = 3;
    });
    EditMap(t.ed, [&](Store& s_) { s_.SetAreaName(1, "\x8B\xE6\x88\xE6"); });  // 区域
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaPos(0, 1) = {4, 6};
        s_.AreaPos(1, 1) = {0, 0};
        s_.SetAreaName(2, "B");
    });
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaPos(0, 2) = {-1, -1};
    });  // not a position: skipped, but the "/" stays
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaPos(1, 2) = {8, 6};
        s_.AreaPos(2, 2) = {0, 0};
        s_.SetAreaName(3, "C");
    });
    EditMap(t.ed, [&](Store& s_) { s_.AreaPos(0, 3) = {0, 0}; });  // ends the list whatever follows
    EditMap(t.ed, [&](Store& s_) {
        s_.AreaPos(1, 3) = {5, 5};
        s_.LegendX = 10;
        s_.LegendY = 20;
        s_.Completed = true;
    });
}

// Answers the title dialog with fixed values.
inline void AnswerTitle(TestEditor& t, const QString& title, const QString& mag,
                        QStringList remarks = {}) {
    t.ui.onTitleDialog = [=](TitleFields& f) {
        f.title = title;
        f.year = "2024";
        f.month = "5";
        f.day = "6";
        f.hour = "7";
        f.minute = "8";
        f.second = "9";
        f.magnification = mag;
        f.remarks = remarks;
        return true;
    };
}

inline QByteArray FileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}
