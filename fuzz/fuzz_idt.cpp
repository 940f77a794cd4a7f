// Feeds arbitrary bytes to the finished-map parser: it must neither crash nor
// allocate beyond the map's capacity, and what it accepts must keep the point
// list's invariants.
#include <QBuffer>
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "formats/IdtReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    idt::IdtContent c;
    QString error;
    if (idt::ParseIdt(buf, c, error)) {
        if (c.points.empty() || !(c.points.front() == Rec{0, 0}) || c.points.back().x != 0)
            std::abort();
        if (c.areas.size() > size_t(Store::MaxAreas) ||
            c.remarks.size() > size_t(Store::MaxComments))
            std::abort();
        for (const auto& a : c.areas)
            if (a.name.size() > size_t(Store::NameBytes) || a.pos.size() > 10) std::abort();
        for (const Rec& r : c.points)
            if (r.x == 0 && r.y != 0) std::abort();
    } else if (error.isEmpty()) {
        std::abort();
    }
    return 0;
}
