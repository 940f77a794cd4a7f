// Reading a finished-map file back into the editor. The parse fills a fresh
// structure and checks it completely, so a file that cannot be read leaves
// the current work alone.
#pragma once

#include <QIODevice>
#include <QString>
#include <string>
#include <vector>

#include "formats/AreaText.h"
#include "store/Store.h"

namespace idt {

struct IdtContent {
    std::string title;
    std::vector<std::string> remarks;  // at most 20
    int16_t legendX = -1, legendY = -1;
    std::vector<areas::AreaEntry> areas;  // at most 3440, positions as read
    std::vector<Rec> points;              // record 0 is (0,0), the last one (0,0)
    std::vector<Rec> kinds;               // groups with their headers
    std::vector<int> cutNameLines;        // 1-based lines whose name was shortened
    int droppedAreaLines = 0;             // area lines beyond the 3440th
};

// Parses a whole file from the device. On failure returns false with a
// message (without the file name) in error.
bool ParseIdt(QIODevice& in, IdtContent& out, QString& error);

// Moves marked stretches out of the records: groups introduced by a header
// (0, code < 0) are copied to kinds, the auxiliary ones (code -8) also leave
// points; every X = 0 record in points becomes (0,0).
void SeparateKinds(std::vector<Rec>& points, std::vector<Rec>& kinds);

}  // namespace idt
