// The coordinate systems the control-point dialog offers by name; any other
// is given by its EPSG code.
#pragma once

#include <QString>
#include <vector>

namespace georef {

struct CrsChoice {
    QString code;  // "EPSG:6677"
    QString name;  // as the list shows it
};

// WGS 84, JGD2011 geographic, the 19 JGD2011 plane rectangular zones and Web
// Mercator, in that order.
std::vector<CrsChoice> CommonSystems();

}  // namespace georef
