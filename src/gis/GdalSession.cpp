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

GdalFailureLog::GdalFailureLog() {
    CPLPushErrorHandlerEx(
        [](CPLErr cls, CPLErrorNum number, const char* text) { Handle(cls, number, text); },
        this);
}

GdalFailureLog::~GdalFailureLog() {
    CPLPopErrorHandler();
}

void GdalFailureLog::Handle(int cls, int, const char* text) {
    auto* self = static_cast<GdalFailureLog*>(CPLGetErrorHandlerUserData());
    if (cls < CE_Failure || !self) return;
    const QString t = QString::fromUtf8(text).trimmed();
    if (!t.isEmpty() && !self->texts_.contains(t)) self->texts_ << t;
}

QString LastGdalError() {
    return QString::fromUtf8(CPLGetLastErrorMsg());
}
void ClearGdalError() {
    CPLErrorReset();
}

}  // namespace gis
