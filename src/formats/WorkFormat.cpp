// Reading and writing the work-file bytes. The reader treats its input as
// hostile: every count is checked against capacity before it is used, nothing
// is reserved from a declared count beyond what the file's size can back, and
// every failure names the file and the line.
#include "formats/WorkFormat.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>

#include "base/Messages.h"
#include "base/SafeSave.h"
#include "text/ShiftJis.h"

namespace {

constexpr qint64 ChunkSize = 1 << 16;
// No line of a sound work file comes near this; a longer one is damage, and
// refusing it keeps a file without line ends from filling memory.
constexpr qsizetype MaxLineBytes = 1 << 16;
constexpr size_t MaxTextBytes = 255;

// Splits a device into lines ending in LF, CR LF or the end of the data.
class LineReader {
  public:
    explicit LineReader(QIODevice& dev) : dev_(dev) {}

    enum Result { Ok, End, TooLong, ReadError };

    // The next line without its line end; valid until the next call.
    Result Next(std::string_view& line) {
        for (;;) {
            const char* at = buf_.constData();
            const void* found = std::memchr(at + pos_, '\n', size_t(buf_.size() - pos_));
            if (found) {
                const qsizetype nl = static_cast<const char*>(found) - at;
                line = Cut(pos_, nl);
                pos_ = nl + 1;
                ++number_;
                return Ok;
            }
            if (buf_.size() - pos_ > MaxLineBytes) {
                ++number_;
                return TooLong;
            }
            if (eof_) {
                if (pos_ >= buf_.size()) return End;
                line = Cut(pos_, buf_.size());
                pos_ = buf_.size();
                ++number_;
                return Ok;
            }
            Fill();
            if (failed_) return ReadError;
        }
    }

    // The usual number line, taken without cutting it out first: up to nine
    // digits, maybe after a minus, then LF or CR LF, all in the buffer, for
    // a number in [lo, hi]. False, with nothing consumed, for anything else.
    bool SmallNumber(int64_t& v, int64_t lo, int64_t hi) {
        const char* p = buf_.constData() + pos_;
        const char* const end = buf_.constData() + buf_.size();
        const char* q = p + (p < end && *p == '-');
        const char* const digits = q;
        int64_t n = 0;
        for (; q < end && q - digits < 10 && uint8_t(*q - '0') < 10; ++q) n = n * 10 + (*q - '0');
        if (q == digits || q - digits > 9) return false;
        if (q < end && *q == '\r') ++q;
        if (q >= end || *q != '\n') return false;
        n = *p == '-' ? -n : n;
        if (n < lo || n > hi) return false;
        v = n;
        pos_ = q + 1 - buf_.constData();
        ++number_;
        return true;
    }

    // Whole records (two number lines of the 16-bit range, the usual form:
    // up to five digits, maybe after a minus, then LF or CR LF) straight from
    // the buffer, up to max; how many. It stops, consuming nothing more, at
    // the first line of any other form and near the buffer's end, where
    // SmallNumber and Next take over.
    int64_t Records(Rec* out, int64_t max) {
        const char* const base = buf_.constData();
        const char* p = base + pos_;
        // Room for two of the longest such lines and the byte after each.
        const char* const stop = base + buf_.size() - 18;
        int64_t k = 0;
        for (; k < max && p <= stop; ++k) {
            int32_t x = 0, y = 0;
            const char* const q = ShortLine(p, x);
            if (!q) break;
            const char* const r = ShortLine(q, y);
            if (!r) break;
            out[k] = Rec{int16_t(x), int16_t(y)};
            p = r;
        }
        pos_ = p - base;
        number_ += 2 * long(k);
        return k;
    }

    // True when only empty lines (or nothing) remain; those are consumed.
    bool AtEnd() {
        for (;;) {
            while (pos_ < buf_.size() && (buf_[pos_] == '\n' || buf_[pos_] == '\r')) {
                if (buf_[pos_] == '\n') ++number_;
                ++pos_;
            }
            if (pos_ < buf_.size()) return false;
            if (eof_) return true;
            Fill();
            if (failed_) return false;  // the next read reports it
        }
    }

    long Number() const { return number_; }
    bool Failed() const { return failed_; }

  private:
    // One line of Records' form at p (nine bytes readable); the byte after
    // it, or null.
    static const char* ShortLine(const char* p, int32_t& v) {
        const bool minus = *p == '-';
        p += minus;
        unsigned d = uint8_t(*p - '0');
        if (d > 9) return nullptr;
        int32_t n = int32_t(d);
        int k = 1;
        for (;; ++k) {
            d = uint8_t(p[k] - '0');
            if (d > 9) break;
            if (k == 5) return nullptr;
            n = n * 10 + int32_t(d);
        }
        p += k;
        if (*p == '\r') ++p;
        if (*p != '\n') return nullptr;
        n = minus ? -n : n;
        if (n < INT16_MIN || n > INT16_MAX) return nullptr;
        v = n;
        return p + 1;
    }
    std::string_view Cut(qsizetype from, qsizetype to) {
        if (to > from && buf_[to - 1] == '\r') --to;
        return std::string_view(buf_.constData() + from, size_t(to - from));
    }
    void Fill() {
        buf_.remove(0, pos_);
        pos_ = 0;
        const qsizetype old = buf_.size();
        buf_.resize(old + ChunkSize);
        const qint64 got = dev_.read(buf_.data() + old, ChunkSize);
        if (got < 0) {
            failed_ = true;
            got_ = 0;
        } else {
            got_ = got;
        }
        buf_.resize(old + qsizetype(got_));
        if (got_ == 0) eof_ = true;
    }

    QIODevice& dev_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    qint64 got_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    long number_ = 0;
};

class Parser {
  public:
    Parser(QIODevice& in, const QString& name, QString* error)
        : r_(in), name_(name), error_(error) {}

    // A whole line as text.
    bool Text(std::string_view& out, Msg what) {
        switch (r_.Next(out)) {
            case LineReader::Ok:
                return true;
            case LineReader::End:
                return Fail(r_.Number() + 1, msg::Text(Msg::WorkLineMissing).arg(msg::Text(what)));
            case LineReader::TooLong:
                return Fail(r_.Number(), msg::Text(Msg::WorkLineTooLong));
            case LineReader::ReadError:
                break;
        }
        return Fail(r_.Number() + 1, msg::Text(Msg::WorkReadFailed));
    }

    // A decimal integer in [lo, hi] on a line of its own.
    bool Number(int64_t& v, int64_t lo, int64_t hi, Msg what) {
        if (r_.SmallNumber(v, lo, hi)) return true;
        std::string_view s;
        if (!Text(s, what)) return false;
        // The usual line: a few digits, maybe a minus, nothing else.
        if (!s.empty() && s.size() <= 10) {
            const char* q = s.data() + (s[0] == '-');
            const char* const e = s.data() + s.size();
            int64_t n = 0;
            if (q < e) {
                for (; q < e && uint8_t(*q - '0') < 10; ++q) n = n * 10 + (*q - '0');
                if (q == e) {
                    n = s[0] == '-' ? -n : n;
                    if (n >= lo && n <= hi) {
                        v = n;
                        return true;
                    }
                }
            }
        }
        const std::string_view raw = s;
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
        if (!s.empty() && s.front() == '+') s.remove_prefix(1);
        const char* end = s.data() + s.size();
        auto [p, ec] = std::from_chars(s.data(), end, v);
        if (s.empty() || p != end || ec == std::errc::invalid_argument)
            return Fail(r_.Number(),
                        msg::Text(Msg::WorkNotNumber).arg(msg::Text(what), Shown(raw)));
        if (ec == std::errc::result_out_of_range || v < lo || v > hi)
            return Fail(
                r_.Number(),
                msg::Text(Msg::WorkOutOfRange).arg(msg::Text(what), Shown(raw)).arg(lo).arg(hi));
        return true;
    }

    bool Int16(int16_t& v, Msg what) {
        int64_t n = 0;
        if (!Number(n, INT16_MIN, INT16_MAX, what)) return false;
        v = int16_t(n);
        return true;
    }

    bool Record(Rec& rec, Msg whatX, Msg whatY) {
        return Int16(rec.x, whatX) && Int16(rec.y, whatY);
    }

    int64_t Records(Rec* out, int64_t max) { return r_.Records(out, max); }
    bool AtEnd() { return r_.AtEnd(); }
    long Line() const { return r_.Number(); }

    bool Fail(long line, const QString& what) {
        if (error_) *error_ = msg::Text(Msg::WorkLineError).arg(name_).arg(line).arg(what);
        return false;
    }

  private:
    // A damaged line as it can be shown in a message: short, and decoded.
    static QString Shown(std::string_view s) {
        QString t = sjis::ToUnicode(sjis::CutToBytes(s, 40));
        if (s.size() > 40) t += QStringLiteral("…");
        return t;
    }

    LineReader r_;
    QString name_;
    QString* error_;
};

// Records a list of `count` entries can hold at most, judged by the bytes the
// file has: each record takes at least four ("0\n0\n").
size_t Backed(int64_t count, qint64 deviceSize) {
    const int64_t bound = deviceSize > 0 ? deviceSize / 4 + 1 : 1024;
    return size_t(std::clamp<int64_t>(count, 0, bound));
}

bool ReadRecords(Parser& p, int64_t count, std::vector<Rec>& out, qint64 size, Msg x, Msg y) {
    out.clear();
    out.reserve(Backed(count, size));
    Rec run[512];
    for (int64_t i = 0; i < count;) {
        const int64_t n = p.Records(run, std::min<int64_t>(count - i, std::size(run)));
        if (n > 0) {
            out.insert(out.end(), run, run + n);
            i += n;
            continue;
        }
        // A line of another form, or the buffer's end: one record the long way.
        Rec r;
        if (!p.Record(r, x, y)) return false;
        out.push_back(r);
        ++i;
    }
    return true;
}

// The file's lines, written straight into a buffer handed to the device a
// chunk at a time (a work file is mostly short number lines).
class Lines {
  public:
    // The buffer is not cleared first: only what was written is handed on.
    explicit Lines(QIODevice& out)
        : out_(out),
          cap_(size_t(ChunkSize) + 64),
          buf_(std::make_unique_for_overwrite<char[]>(cap_)) {}
    // A number and CR LF.
    void Number(int64_t v) {
        Room(24);
        char* const p = buf_.get() + n_;
        char* end = v > -100000 && v < 100000 ? Short(p, v) : std::to_chars(p, p + 22, v).ptr;
        *end++ = '\r';
        *end++ = '\n';
        n_ = size_t(end - buf_.get());
    }
    void Text(std::string_view t) {
        // One line each, whatever the text holds: a line break inside would
        // shift every field after it.
        Room(t.size() + 2);
        char* p = buf_.get() + n_;
        for (const char c : t) *p++ = uint8_t(c) < 0x20 || uint8_t(c) == 0x7F ? ' ' : c;
        *p++ = '\r';
        *p++ = '\n';
        n_ = size_t(p - buf_.get());
    }
    // Hands the buffer on once a chunk is full, or whatever it holds (force).
    bool Flush(bool force) {
        if (!force && n_ < size_t(ChunkSize)) return true;
        const bool ok = out_.write(buf_.get(), qint64(n_)) == qint64(n_);
        n_ = 0;
        return ok;
    }

  private:
    // The digits of |v| < 100000 (every coordinate), two at a time.
    static char* Short(char* p, int64_t v) {
        static constexpr char pairs[] =
            "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
            "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
            "8081828384858687888990919293949596979899";
        if (v < 0) *p++ = '-', v = -v;
        auto two = [&](int64_t d) {
            std::memcpy(p, pairs + 2 * d, 2);
            p += 2;
        };
        if (v >= 10000) *p++ = char('0' + v / 10000), v %= 10000, two(v / 100), two(v % 100);
        else if (v >= 1000) two(v / 100), two(v % 100);
        else if (v >= 100) *p++ = char('0' + v / 100), two(v % 100);
        else if (v >= 10) two(v);
        else *p++ = char('0' + v);
        return p;
    }
    void Room(size_t k) {
        if (n_ + k <= cap_) return;
        cap_ = n_ + k + size_t(ChunkSize);
        auto grown = std::make_unique_for_overwrite<char[]>(cap_);
        std::memcpy(grown.get(), buf_.get(), n_);
        buf_ = std::move(grown);
    }
    QIODevice& out_;
    size_t cap_;
    std::unique_ptr<char[]> buf_;
    size_t n_ = 0;
};

}  // namespace

bool ReadWork(QIODevice& in, const QString& name, WorkData& d, QString* error) {
    d = WorkData{};
    Parser p(in, name, error);
    const qint64 size = in.isSequential() ? 0 : in.size();

    std::string_view s;
    if (!p.Text(s, Msg::FieldTitle)) return false;
    if (s.size() > MaxTextBytes)
        d.notes << msg::Text(Msg::WorkTitleCut).arg(name).arg(p.Line()).arg(MaxTextBytes);
    d.title = std::string(sjis::CutToBytes(s, MaxTextBytes));
    if (!p.Int16(d.legendX, Msg::FieldLegendX) || !p.Int16(d.legendY, Msg::FieldLegendY))
        return false;
    if (!p.Text(s, Msg::FieldPicture)) return false;
    d.picture = std::string(sjis::CutToBytes(s, MaxTextBytes));
    if (!p.Int16(d.mapWidth, Msg::FieldMapWidth) || !p.Int16(d.mapHeight, Msg::FieldMapHeight))
        return false;

    int64_t n = 0;
    if (!p.Number(n, 0, Store::Capacity - 1, Msg::FieldPointCount)) return false;
    if (!ReadRecords(p, n + 1, d.points, size, Msg::FieldPointX, Msg::FieldPointY)) return false;

    int64_t m = 0;
    if (!p.Number(m, 0, Store::MaxAreas, Msg::FieldAreaCount)) return false;
    d.names.reserve(size_t(m));
    for (int64_t a = 1; a <= m; ++a) {
        if (!p.Text(s, Msg::FieldAreaName)) return false;
        const std::string_view nul = s.substr(0, std::min(s.find('\0'), s.size()));
        const std::string_view cut = sjis::CutToBytes(nul, Store::NameBytes);
        if (cut.size() < nul.size())
            d.notes << msg::Text(Msg::WorkAreaNameCut)
                           .arg(name)
                           .arg(p.Line())
                           .arg(sjis::ToUnicode(nul), QString::number(Store::NameBytes),
                                sjis::ToUnicode(cut));
        d.names.emplace_back(cut);
    }
    d.positions.resize(size_t(m));
    for (auto& area : d.positions)
        for (Rec& r : area)
            if (!p.Record(r, Msg::FieldPositionX, Msg::FieldPositionY)) return false;

    // Older files end after the positions, or after the marker line.
    if (p.AtEnd()) return true;
    if (!p.Text(s, Msg::FieldCompleted)) return false;
    d.completed = s == "complete";
    if (p.AtEnd()) return true;
    int64_t q = 0;
    if (!p.Number(q, -1, Store::Capacity - 1, Msg::FieldKindCount)) return false;
    return ReadRecords(p, q + 1, d.kinds, size, Msg::FieldKindX, Msg::FieldKindY);
}

bool ReadWorkFile(const QString& path, WorkData& out, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = msg::Text(Msg::CliInfoNotOpened).arg(path, f.errorString());
        return false;
    }
    return ReadWork(f, path, out, error);
}

bool WriteWork(QIODevice& out, const Store& st, std::string_view picture) {
    Lines b(out);
    b.Text(st.MapTitle);
    b.Number(st.LegendX);
    b.Number(st.LegendY);
    b.Text(picture);
    b.Number(st.MapWidth);
    b.Number(st.MapHeight);
    b.Number(st.PointLast);
    for (int32_t i = 0; i <= st.PointLast; ++i) {
        const Rec r = st.Point(i);
        b.Number(r.x);
        b.Number(r.y);
        if (!b.Flush(false)) return false;
    }
    b.Number(st.AreaCount);
    for (int a = 1; a <= st.AreaCount; ++a) b.Text(st.AreaName(a));
    for (int a = 1; a <= st.AreaCount; ++a) {
        for (int k = 0; k < Store::Slots; ++k) {
            b.Number(st.AreaPos(k, a).x);
            b.Number(st.AreaPos(k, a).y);
        }
        if (!b.Flush(false)) return false;
    }
    b.Text(st.Completed ? "complete" : "continue");
    b.Number(st.KindLast);
    for (int32_t i = 0; i <= st.KindLast; ++i) {
        const Rec r = st.KindRec(i);
        b.Number(r.x);
        b.Number(r.y);
        if (!b.Flush(false)) return false;
    }
    return b.Flush(true);
}

bool WriteWorkFile(const QString& path, const Store& st, std::string_view picture, QString* error) {
    safesave::StagedFile f(path);
    QString why;
    if (!f.Begin() || !WriteWork(f, st, picture) || !f.Finish()) {
        if (error) *error = msg::Text(Msg::FileNotWritable).arg(path, safesave::Reason(f.Error()));
        return false;
    }
    if (!safesave::CommitAll({&f}, &why)) {
        if (error) *error = why;
        return false;
    }
    return true;
}

void ApplyWork(WorkData&& d, Store& st) {
    st.MapTitle = std::move(d.title);
    st.LegendX = d.legendX;
    st.LegendY = d.legendY;
    st.MapWidth = d.mapWidth;
    st.MapHeight = d.mapHeight;
    st.AssignPoints(d.points);
    st.AreaCount = int16_t(d.names.size());
    for (size_t i = 0; i < d.names.size(); ++i) {
        const int a = int(i) + 1;
        st.SetAreaName(a, d.names[i]);
        // Slots that stay empty are not written: the table is made only
        // where a position lies.
        for (int k = 0; k < Store::Slots; ++k) {
            const Rec p = d.positions[i][size_t(k)];
            if (p != Rec{} || std::as_const(st).AreaPos(k, a) != Rec{}) st.AreaPos(k, a) = p;
        }
    }
    if (d.completed)
        st.MarkComposed();
    else
        st.ForgetComposition();
    st.AssignKinds(d.kinds);
}

WorkNames WorkFileNames(const QString& chosen) {
    // The extension is looked for in the file name only, not in a directory.
    const qsizetype slash = std::max(chosen.lastIndexOf(u'/'), chosen.lastIndexOf(u'\\'));
    const qsizetype dot = chosen.lastIndexOf(u'.');
    QString base = chosen, ext;
    if (dot > slash) {
        base = chosen.left(dot);
        ext = chosen.mid(dot);
    }
    if (ext.isEmpty() || ext == QStringLiteral(".")) ext = QStringLiteral(".vlm");
    return {base + ext, base + QStringLiteral(".bmp")};
}
