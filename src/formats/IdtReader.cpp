#include "formats/IdtReader.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "text/TextEntry.h"
#include "base/Messages.h"
#include "formats/IdtWriter.h"
#include "text/ShiftJis.h"
#include "raster/SurfaceBudget.h"

namespace idt {

namespace {
constexpr size_t LineBytes = 255;
constexpr int MaxPositions = 10;
constexpr qint64 Chunk = 1 << 16;

// Buffered reading of a device: text lines of bounded length, then raw bytes.
class Reader {
  public:
    explicit Reader(QIODevice& d) : dev_(d) {}

    // Next line without its line end, cut to 255 bytes (the rest of a longer
    // line is skipped). False at the end of the data.
    bool Line(std::string& line) {
        line.clear();
        bool any = false;
        for (;;) {
            if (at_ == buf_.size() && !Fill()) return any;
            any = true;
            const char* start = buf_.data() + at_;
            const size_t avail = buf_.size() - at_;
            const void* nl = std::memchr(start, '\n', avail);
            const size_t take = nl ? size_t(static_cast<const char*>(nl) - start) : avail;
            if (line.size() < LineBytes + 1)
                line.append(start, std::min(take, LineBytes + 1 - line.size()));
            at_ += take;
            if (nl) {
                ++at_;
                if (!line.empty() && line.back() == '\r') line.pop_back();
                if (line.size() > LineBytes) line = std::string(sjis::CutToBytes(line, LineBytes));
                return true;
            }
        }
    }

    // Offset of the next unread byte in the device.
    qint64 Offset() const { return base_ + qint64(at_); }

    // Skips to the next zero byte; false when there is none.
    bool SkipToZero() {
        for (;;) {
            if (at_ == buf_.size() && !Fill()) return false;
            const void* z = std::memchr(buf_.data() + at_, 0, buf_.size() - at_);
            if (z) {
                at_ = size_t(static_cast<const char*>(z) - buf_.data());
                return true;
            }
            at_ = buf_.size();
        }
    }

    // Reads up to n bytes into dst; returns how many.
    size_t Bytes(char* dst, size_t n) {
        size_t got = 0;
        while (got < n) {
            if (at_ == buf_.size() && !Fill()) break;
            const size_t take = std::min(n - got, buf_.size() - at_);
            std::memcpy(dst + got, buf_.data() + at_, take);
            at_ += take;
            got += take;
        }
        return got;
    }

  private:
    bool Fill() {
        base_ += qint64(buf_.size());
        buf_.resize(size_t(Chunk));
        const qint64 n = dev_.read(buf_.data(), Chunk);
        buf_.resize(n > 0 ? size_t(n) : 0);
        at_ = 0;
        return n > 0;
    }
    QIODevice& dev_;
    std::string buf_;
    size_t at_ = 0;
    qint64 base_ = 0;
};

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

bool StartsWith(std::string_view s, std::string_view p) {
    return s.substr(0, p.size()) == p;
}
}  // namespace

void SeparateKinds(std::vector<Rec>& points, std::vector<Rec>& kinds) {
    enum { Plain, Copy, Move } mode = Plain;
    kinds.clear();
    for (Rec& r : points) {
        if (r.x == 0) {
            if (r.y == 0)
                mode = Plain;
            else if (r.y < 0)
                mode = r.y == KindAuxiliary ? Move : Copy;
        }
        if (mode != Plain) kinds.push_back(r);
        if (r.x == 0 || mode == Move) r = Rec{0, 0};
    }
}

bool ParseIdt(QIODevice& in, IdtContent& out, QString& error) {
    out = IdtContent{};
    Reader rd(in);
    std::string line;
    if (!rd.Line(line)) {
        error = msg::Text(Msg::IdtEmpty);
        return false;
    }
    out.title = line;
    int lineNo = 1;
    bool sawStart = false;
    while (rd.Line(line)) {
        ++lineNo;
        std::string left, right;
        SplitAt('=', line, left, right);
        TrimEntry(line);
        TrimEntry(left);
        TrimEntry(right);
        if (left.empty() || left[0] != '@') {
            if (int(out.areas.size()) >= Store::MaxAreas) {
                ++out.droppedAreaLines;
            } else {
                areas::AreaEntry e;
                const std::string_view cut = sjis::CutToBytes(left, Store::NameBytes);
                if (cut.size() != left.size()) out.cutNameLines.push_back(lineNo);
                e.name.assign(cut);
                while (!right.empty() && int(e.pos.size()) < MaxPositions) {
                    std::string item, xs, ys;
                    SplitAt('/', right, item, right);
                    TrimEntry(right);
                    SplitAt(',', item, xs, ys);
                    e.pos.push_back({ParseLenientInt16(xs), ParseLenientInt16(ys)});
                }
                out.areas.push_back(std::move(e));
            }
            continue;
        }
        const std::string key = Upper(left);
        if (key == "@INDEXPOSITION") {
            std::string xs, ys;
            SplitAt(',', right, xs, ys);
            out.legendX = ParseLenientInt16(xs);
            out.legendY = ParseLenientInt16(ys);
        } else if (StartsWith(key, "@REM ") && key.find("MADE BY VELMOT") == std::string::npos) {
            if (int(out.remarks.size()) < Store::MaxComments)
                out.remarks.push_back(line.size() > 5 ? line.substr(5) : std::string());
        } else if (key == "@STARTOFPOINTS") {
            sawStart = true;
            break;
        }
    }
    if (!sawStart) {
        error = msg::Text(Msg::IdtNoPoints);
        return false;
    }

    // The binary part starts with record 0, (0,0): at the first zero byte.
    // It is read to the end of the data rather than to the size the device
    // gives, which is 0 for a pipe.
    constexpr size_t MaxRecords = size_t(Store::Capacity) - 1;
    auto tooMany = [&](size_t records) {
        error = msg::Text(Msg::IdtTooManyRecords).arg(records).arg(MaxRecords);
        return false;
    };
    if (rd.SkipToZero()) {
        if (!in.isSequential()) {
            const qint64 bytes = in.size() - rd.Offset();
            if (bytes > 0 && size_t(bytes / 4) > MaxRecords) return tooMany(size_t(bytes / 4));
            if (bytes > 0) out.points.reserve(size_t(bytes / 4) + 2);
        }
        std::vector<char> block(1 << 16);
        size_t pending = 0;  // bytes of an unfinished record carried over
        for (;;) {
            const size_t got = rd.Bytes(block.data() + pending, block.size() - pending) + pending;
            const size_t whole = got / 4 * 4;
            for (size_t i = 0; i < whole; i += 4) {
                const auto* b = reinterpret_cast<const unsigned char*>(block.data() + i);
                out.points.push_back(
                    {int16_t(uint16_t(b[0] | (b[1] << 8))), int16_t(uint16_t(b[2] | (b[3] << 8)))});
            }
            if (out.points.size() > MaxRecords) {
                // Count the rest only when the size is known, without reading it.
                const qint64 bytes = in.isSequential() ? -1 : in.size() - rd.Offset();
                return tooMany(out.points.size() + (bytes > 0 ? size_t(bytes / 4) : 0));
            }
            pending = got - whole;
            std::memmove(block.data(), block.data() + whole, pending);
            if (got < block.size()) break;  // the end of the data
        }
        // Zero bytes after the last record are taken as padding; anything
        // else there is a record cut off, and the map is not whole.
        if (pending != 0 &&
            std::any_of(block.data(), block.data() + pending, [](char b) { return b != 0; })) {
            error = msg::Text(Msg::IdtOddBytes).arg(pending);
            return false;
        }
    }
    // The point list always starts and ends with a separator.
    if (out.points.empty() || out.points.front().x != 0)
        out.points.insert(out.points.begin(), Rec{0, 0});
    // A negative X is no map point but still joins segments: close on it too.
    if (out.points.back().x != 0) out.points.push_back(Rec{0, 0});
    if (out.points.size() > size_t(Store::Capacity)) {
        error =
            msg::Text(Msg::IdtTooManyWithSeparators).arg(out.points.size()).arg(Store::Capacity);
        return false;
    }
    SeparateKinds(out.points, out.kinds);
    return true;
}

}  // namespace idt
