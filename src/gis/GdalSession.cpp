#include "gis/GdalSession.h"

#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace gis {

void EnsureGdal() {
    static std::once_flag once;
    std::call_once(once, [] {
        GDALAllRegister();
        CPLSetErrorHandler(CPLQuietErrorHandler);
    });
}

QString LastGdalError() {
    return QString::fromUtf8(CPLGetLastErrorMsg());
}
void ClearGdalError() {
    CPLErrorReset();
}

}  // namespace gis
