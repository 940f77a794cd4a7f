#include "formats/IdtWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cmath>

#include "text/TextEntry.h"
#include "base/Messages.h"
#include "text/ShiftJis.h"

namespace idt {

namespace {
constexpr size_t LineBytes = 255;
constexpr size_t FlushAt = 1 << 16;

// Text bytes for one line: cut at a line break (the format has no way to
// hold one) and at 255 bytes on a character boundary.
std::string LineText(const QString& s) {
    std::string b = sjis::FromUnicode(s);
    const auto br = b.find_first_of("\r\n");
    if (br != std::string::npos) b.resize(br);
    return std::string(sjis::CutToBytes(b, LineBytes));
}

std::optional<int> FieldInt(const QString& s) {
    bool ok = false;
    const int v = s.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return v;
}

class Out {
  public:
    explicit Out(QIODevice& d) : dev_(d) {}
    void Line(std::string_view s) {
        buf_.append(s);
        buf_.append("\r\n");
        Spill();
    }
    void Rec16(int16_t x, int16_t y) {
        const auto ux = uint16_t(x), uy = uint16_t(y);
        const char b[4] = {char(ux & 0xFF), char(ux >> 8), char(uy & 0xFF), char(uy >> 8)};
        buf_.append(b, 4);
        Spill();
    }
    bool Finish() {
        Flush();
        return ok_;
    }

  private:
    void Spill() {
        if (buf_.size() >= FlushAt) Flush();
    }
    void Flush() {
        if (ok_ && !buf_.empty() &&
            dev_.write(buf_.data(), qint64(buf_.size())) != qint64(buf_.size()))
            ok_ = false;
        buf_.clear();
    }
    QIODevice& dev_;
    std::string buf_;
    bool ok_ = true;
};

std::string Num(int64_t v) {
    return std::to_string(v);
}
}  // namespace

Resolution DefaultResolution(int maxX, int maxY) {
    Resolution r;
    if (maxX >= 1280 || maxY >= 960) {
        const int k = std::max(maxX / 640 + 1, maxY / 480 + 1);
        // The file holds 16-bit values; a map that wide gets the largest one.
        r = {std::min(640 * k, 32767), std::min(480 * k, 32767)};
    }
    if (maxX < 1280 && maxY < 960) r = {1280, 960};
    if (maxX < 1024 && maxY < 768) r = {1024, 768};
    if (maxX < 640 && maxY < 480) r = {640, 480};
    if (maxX < 640 && maxY < 400) r = {640, 400};
    return r;
}

void PointMaxima(const Store& st, int& maxX, int& maxY) {
    maxX = 0;
    maxY = 0;
    for (int32_t i = 0; i <= st.PointLast; ++i) {
        const Rec r = st.Point(i);
        maxX = std::max<int>(maxX, r.x);
        maxY = std::max<int>(maxY, r.y);
    }
}

TitleFields DefaultTitleFields(const Store& st, const QDateTime& now) {
    TitleFields f;
    f.title = sjis::ToUnicode(st.MapTitle);
    const QDate d = now.date();
    const QTime t = now.time();
    f.hour = QString::number(t.hour());
    f.minute = QString::number(t.minute());
    f.second = QString::number(t.second());
    f.year = QString::number(d.year());
    f.month = QString::number(d.month());
    f.day = QString::number(d.day());
    PointMaxima(st, f.maxX, f.maxY);
    const Resolution r = DefaultResolution(f.maxX, f.maxY);
    f.resX = QString::number(r.x);
    f.resY = QString::number(r.y);
    f.magnification = QStringLiteral("1.0");
    for (int i = 1; i <= st.MapCommentCount && i <= Store::MaxComments; ++i)
        f.remarks << sjis::ToUnicode(st.MapComments[size_t(i)]);
    return f;
}

std::vector<std::string> MemoRemarks(const QStringList& lines) {
    std::vector<std::string> r;
    for (qsizetype i = 0; i < lines.size() && i < Store::MaxComments; ++i)
        r.push_back(LineText(lines[i]));
    if (!r.empty() && r.back().empty()) r.pop_back();
    return r;
}

QString ReadTitleFields(const TitleFields& f, WriteValues& v) {
    v.title = LineText(f.title);
    const auto rx = ParseStrictInt16(sjis::FromUnicode(f.resX.trimmed()));
    const auto ry = ParseStrictInt16(sjis::FromUnicode(f.resY.trimmed()));
    if (!rx || !ry) return msg::Text(Msg::ResolutionBad).arg(f.resX, f.resY);
    v.resX = *rx;
    v.resY = *ry;

    bool ok = false;
    const double m = QLocale::c().toDouble(f.magnification.trimmed(), &ok);
    if (!ok || !std::isfinite(m) || m <= 0)
        return msg::Text(Msg::MagnificationBad).arg(f.magnification);
    v.magnification = m;

    const QString stampText =
        QStringLiteral("%1/%2/%3 %4:%5:%6").arg(f.year, f.month, f.day, f.hour, f.minute, f.second);
    const auto y = FieldInt(f.year), mo = FieldInt(f.month), d = FieldInt(f.day);
    const auto h = FieldInt(f.hour), mi = FieldInt(f.minute), s = FieldInt(f.second);
    const QDate date = y && mo && d ? QDate(*y, *mo, *d) : QDate();
    const QTime time = h && mi && s ? QTime(*h, *mi, *s) : QTime();
    if (!date.isValid() || !time.isValid()) return msg::Text(Msg::StampBad).arg(stampText);
    if (*y < 1980 || *y > 2099) return msg::Text(Msg::StampYearBad).arg(*y);
    // File times of this format keep even seconds.
    v.stamp = QDateTime(date, QTime(*h, *mi, *s - *s % 2));
    v.remarks = MemoRemarks(f.remarks);
    return QString();
}

int64_t Scaled(int v, double m) {
    if (m == 1.0) return v;
    return int64_t(std::nearbyint(double(v) * m));
}

QString CheckScale(const Store& st, double m) {
    if (m == 1.0) return QString();
    int64_t worst = 0;
    bool lostX = false;
    auto see = [&](int x, int y) {
        const int64_t sx = Scaled(x, m), sy = Scaled(y, m);
        if (x != 0 && sx == 0) lostX = true;
        for (int64_t s : {sx, sy})
            if (std::llabs(s) > std::llabs(worst)) worst = s;
    };
    for (int32_t i = 0; i <= st.PointLast; ++i) {
        const Rec r = st.Point(i);
        if (r.x != 0) see(r.x, r.y);
    }
    for (int32_t i = 0; i <= st.KindLast; ++i) {
        const Rec r = st.KindRec(i);
        if (r.x != 0) see(r.x, r.y);
    }
    for (int a = 1; a <= st.AreaCount; ++a)
        for (int k = 0; k < Store::Slots; ++k) {
            const Rec p = st.AreaPos(k, a);
            if (p.x == 0) break;
            if (p.x > 0) see(p.x, p.y);
        }
    if (st.LegendX >= 0) {
        worst =
            std::llabs(Scaled(st.LegendX, m)) > std::llabs(worst) ? Scaled(st.LegendX, m) : worst;
        worst =
            std::llabs(Scaled(st.LegendY, m)) > std::llabs(worst) ? Scaled(st.LegendY, m) : worst;
    }
    const QString mag = QLocale::c().toString(m, 'g', 10);
    if (worst > INT16_MAX || worst < INT16_MIN)
        return msg::Text(Msg::ScaleOutOfRange).arg(mag).arg(worst);
    if (lostX) return msg::Text(Msg::ScaleLosesX).arg(mag);
    return QString();
}

bool WriteIdt(QIODevice& dev, const Store& st, const WriteValues& v) {
    const double m = v.magnification;
    Out out(dev);
    out.Line(v.title);
    out.Line(ProgramLine);
    for (const std::string& r : v.remarks) out.Line(sjis::CutToBytes("@Rem " + r, LineBytes));
    out.Line("@Resolution=" + Num(v.resX) + "," + Num(v.resY));
    out.Line("@IndexPosition=" + Num(Scaled(st.LegendX, m)) + "," + Num(Scaled(st.LegendY, m)));
    for (int a = 1; a <= st.AreaCount; ++a) {
        std::string line(st.AreaName(a));
        line += '=';
        for (int k = 0; k < Store::Slots; ++k) {
            const Rec p = st.AreaPos(k, a);
            if (p.x == 0) break;
            if (p.x < 0) continue;
            if (k > 0) line += '/';
            line += Num(Scaled(p.x, m)) + "," + Num(Scaled(p.y, m));
        }
        out.Line(line);
    }
    out.Line("@StartOfPoints");
    auto rec = [&](Rec r) {
        if (r.x == 0)
            out.Rec16(r.x, r.y);
        else
            out.Rec16(int16_t(Scaled(r.x, m)), int16_t(Scaled(r.y, m)));
    };
    for (int32_t i = 0; i <= st.PointLast; ++i) rec(st.Point(i));
    for (int32_t i = 0; i <= st.KindLast; ++i) rec(st.KindRec(i));
    return out.Finish();
}

}  // namespace idt
