#include "usecases/CrsList.h"

#include "base/Messages.h"

namespace georef {

std::vector<CrsChoice> CommonSystems() {
    // The zones are numbered in Roman numerals, as the survey names them.
    static const char* const roman[] = {"I",    "II",  "III",  "IV",    "V",   "VI",   "VII",
                                        "VIII", "IX",  "X",    "XI",    "XII", "XIII", "XIV",
                                        "XV",   "XVI", "XVII", "XVIII", "XIX"};
    std::vector<CrsChoice> out;
    out.push_back({QStringLiteral("EPSG:4326"), msg::Text(Msg::CrsWgs84)});
    out.push_back({QStringLiteral("EPSG:6668"), msg::Text(Msg::CrsJgd2011)});
    for (int z = 1; z <= 19; ++z)
        out.push_back({QStringLiteral("EPSG:%1").arg(6668 + z),
                       msg::Format(Msg::CrsJgd2011Zone, {QLatin1String(roman[z - 1])})});
    out.push_back({QStringLiteral("EPSG:3857"), msg::Text(Msg::CrsWebMercator)});
    return out;
}

}  // namespace georef
