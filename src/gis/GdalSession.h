// GDAL/OGR set up once per process, with its error messages kept for ours
// instead of printed.
#pragma once

#include <QString>
#include <QStringList>

namespace gis {

void EnsureGdal();
// The last message GDAL reported, for quoting in our own.
QString LastGdalError();
void ClearGdalError();

// Every failure GDAL reports while one of these lives, in order. The telling
// message often comes first and a general one ("Failed to read GeoJSON
// data") last, which alone would hide the cause and how to get past it.
class GdalFailureLog {
  public:
    GdalFailureLog();
    ~GdalFailureLog();
    GdalFailureLog(const GdalFailureLog&) = delete;
    GdalFailureLog& operator=(const GdalFailureLog&) = delete;
    // Each failure's text once, joined; empty when there was none.
    QString Text() const { return texts_.join(QStringLiteral(" / ")); }

  private:
    static void Handle(int cls, int number, const char* text);
    QStringList texts_;
};

}  // namespace gis
