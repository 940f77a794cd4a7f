// Feeds arbitrary bytes to the area-name text reader (the area-name editor's
// text). What it accepts must fit the area table, be stored, and list back
// into a text that reads as the same table.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/AreaText.h"
#include "store/Store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const areas::AreaText t = areas::ParseAreaNameBytes(text);
    if (!t.error.isEmpty()) {
        if (!t.areas.empty()) std::abort();
        return 0;
    }
    if (t.areas.size() > size_t(Store::MaxAreas)) std::abort();
    for (const areas::AreaEntry& e : t.areas) {
        if (e.name.size() > size_t(Store::NameBytes) || e.pos.size() > 10) std::abort();
        for (Rec p : e.pos)
            if (p.x < 1 || p.y < 1) std::abort();
    }
    static Store st;
    areas::StoreAreas(st, t.areas);
    if (st.AreaCount != int(t.areas.size())) std::abort();
    // Positions always survive the listing; names do when they were not cut
    // (a cut may leave a blank at the end, which the reader trims).
    const areas::AreaText back = areas::ParseAreaNames(areas::ListAreaNames(st));
    if (!t.cutLines.empty()) return 0;
    if (!back.error.isEmpty()) std::abort();
    return 0;
}
