#include "store/Store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "text/ShiftJis.h"

namespace {

// A page of zeros, made when a record is first written to it (until then
// the page is null and reads as zeros). From calloc, so that memory fresh
// from the system is not written here as well.
std::shared_ptr<Rec[]> ZeroPage() {
    void* p = std::calloc(size_t(PagedPool::PageSize) + 1, sizeof(Rec));
    if (!p) throw std::bad_alloc();
    return std::shared_ptr<Rec[]>(static_cast<Rec*>(p), [](Rec* r) { std::free(r); });
}

bool AllZero(const void* p, size_t bytes) {
    const auto* b = static_cast<const unsigned char*>(p);
    return bytes == 0 || (b[0] == 0 && std::memcmp(b, b + 1, bytes - 1) == 0);
}

// Whether two slices of n records hold the same bytes, an unallocated one
// reading as zeros.
template <class T>
bool SameSlice(const std::shared_ptr<T[]>& a, const std::shared_ptr<T[]>& b, size_t n) {
    if (a == b) return true;
    if (!a || !b) return AllZero((a ? a : b).get(), n * sizeof(T));
    return std::memcmp(a.get(), b.get(), n * sizeof(T)) == 0;
}

bool SamePage(const std::shared_ptr<Rec[]>& a, const std::shared_ptr<Rec[]>& b) {
    return SameSlice(a, b, size_t(PagedPool::PageSize) + 1);
}

}  // namespace

// Only the pages up to the top one have a slot: a copy for undo then copies
// a handful of pointers, not a table for the whole capacity.
PagedPool::PagedPool() : pages_(1) {}

Rec* PagedPool::Writable(int32_t page, bool wholePage) {
    Page& p = pages_[size_t(page)];
    if (!p) {
        p = ZeroPage();
    } else if (p.use_count() > 1) {
        Page own = ZeroPage();
        if (!wholePage) std::memcpy(own.get(), p.get(), PageBytes);
        p = std::move(own);
    }
    return p.get();
}

void PagedPool::ShareEqualPages(PagedPool& live, PagedPool& snap, const PagedPool& prev) {
    const int32_t top = std::min(snap.pageTop_, prev.pageTop_);
    for (int32_t i = 0; i <= top; ++i) {
        Page& s = snap.pages_[size_t(i)];
        const Page& p = prev.pages_[size_t(i)];
        if (s == p || !SamePage(s, p)) continue;
        if (size_t(i) < live.pages_.size() && live.pages_[size_t(i)] == s)
            live.pages_[size_t(i)] = p;
        s = p;
    }
}

bool PagedPool::SameRecords(const PagedPool& a, const PagedPool& b, int32_t count) {
    std::vector<Rec> x, y;
    for (int32_t first = 0; first < count; first += PageSize) {
        const int32_t page = first / PageSize, n = std::min(PageSize, count - first);
        if (page <= a.pageTop_ && page <= b.pageTop_ &&
            a.pages_[size_t(page)] == b.pages_[size_t(page)])
            continue;
        x.resize(size_t(n));
        y.resize(size_t(n));
        a.Read(first, n, x.data());
        b.Read(first, n, y.data());
        if (std::memcmp(x.data(), y.data(), size_t(n) * sizeof(Rec))) return false;
    }
    return true;
}

size_t PagedPool::UnsharedBytes(const PagedPool& a, const PagedPool* b) {
    size_t n = 0;
    for (int32_t i = 0; i <= a.pageTop_; ++i)
        if (a.pages_[size_t(i)] &&
            (!b || i > b->pageTop_ || a.pages_[size_t(i)] != b->pages_[size_t(i)]))
            n += PageBytes;
    return n;
}

bool PagedPool::EnsurePage(int32_t i) {
    if (i < 0) return false;
    const int32_t page = i / PageSize;
    if (page > MaxPages - 1) return false;
    while (pageTop_ < page) {
        // Fresh pages read as zeros: stale slots then read as separators.
        pages_.emplace_back();
        ++pageTop_;
    }
    return true;
}

void PagedPool::Set(int32_t i, int16_t x, int16_t y) {
    if (i < 0) return;
    const int32_t page = i / PageSize;
    if (page > pageTop_ && !EnsurePage(i)) return;
    Rec& r = Writable(page)[i % PageSize];
    r.x = x;
    r.y = y;
}

void PagedPool::Move(int32_t from, int32_t to, int32_t count) {
    if (count <= 0 || from == to || from < 0 || to < 0) return;
    if (!EnsurePage(to + count - 1)) return;
    // Copies one stretch that lies within a single page on both sides; a
    // source page that was never written reads as zeros.
    auto copy = [&](int32_t k, int32_t n) {
        Rec* dst = Writable((to + k) / PageSize) + (to + k) % PageSize;
        const int32_t sp = (from + k) / PageSize;
        if (sp > pageTop_ || !pages_[size_t(sp)]) {
            std::fill_n(dst, n, Rec{});
            return;
        }
        std::memmove(dst, &pages_[sp][(from + k) % PageSize], size_t(n) * sizeof(Rec));
    };
    if (to < from) {  // downwards: front to back
        for (int32_t k = 0; k < count;) {
            const int32_t n = std::min(
                {count - k, PageSize - (from + k) % PageSize, PageSize - (to + k) % PageSize});
            copy(k, n);
            k += n;
        }
    } else {  // upwards: back to front
        for (int32_t end = count; end > 0;) {
            const int32_t n =
                std::min({end, (from + end - 1) % PageSize + 1, (to + end - 1) % PageSize + 1});
            copy(end - n, n);
            end -= n;
        }
    }
}

Store::Store() = default;

bool Store::InsertPoint(int32_t i, int16_t x, int16_t y) {
    if (!PointRoom(1) || i < 0) return false;
    ++PointLast;
    points_.Move(i, i + 1, PointLast - i);
    points_.Set(i, x, y);
    return true;
}

void Store::DeletePoints(int32_t start, int32_t count) {
    if (count <= 0) return;
    const int32_t moving = PointLast - count - start + 1;
    if (moving > 0) points_.Move(start + count, start, moving);
    if (count <= PointLast) PointLast -= count;
}

void Store::DeleteKinds(int32_t start, int32_t count) {
    if (count <= 0) return;
    const int32_t moving = KindLast - count - start + 1;
    if (moving > 0) kinds_.Move(start + count, start, moving);
    KindLast -= count;
    if (KindLast < -1) KindLast = -1;
}

bool Store::AppendPoint(int16_t x, int16_t y) {
    if (!PointRoom(1)) return false;
    ++PointLast;
    points_.Set(PointLast, x, y);
    return true;
}

void PagedPool::Read(int32_t first, int32_t count, Rec* out) const {
    for (int32_t k = 0; k < count;) {
        const int32_t i = first + k, page = i / PageSize;
        const int32_t n = std::min(count - k, PageSize - i % PageSize);
        if (page > pageTop_ || !pages_[size_t(page)])
            std::fill_n(out + k, n, Rec{});
        else
            std::memcpy(out + k, &pages_[page][i % PageSize], size_t(n) * sizeof(Rec));
        k += n;
    }
}

bool PagedPool::Write(int32_t first, int32_t count, const Rec* in) {
    if (count <= 0) return true;
    if (first < 0 || !EnsurePage(first + count - 1)) return false;
    for (int32_t k = 0; k < count;) {
        const int32_t i = first + k;
        const int32_t n = std::min(count - k, PageSize - i % PageSize);
        std::memcpy(Writable(i / PageSize, n == PageSize) + i % PageSize, in + k,
                    size_t(n) * sizeof(Rec));
        k += n;
    }
    return true;
}

std::vector<Rec> Store::PointsToVector() const {
    if (PointLast < 0) return {};
    std::vector<Rec> v(size_t(PointLast) + 1);
    points_.Read(0, PointLast + 1, v.data());
    return v;
}

bool Store::AssignPoints(const std::vector<Rec>& v) {
    if (v.size() > size_t(Capacity)) return false;
    if (v.empty()) {
        points_.Set(0, 0, 0);
        PointLast = 0;
        return true;
    }
    points_.Write(0, int32_t(v.size()), v.data());
    PointLast = int32_t(v.size()) - 1;
    return true;
}

std::vector<Rec> Store::KindsToVector() const {
    if (KindLast < 0) return {};
    std::vector<Rec> v(size_t(KindLast) + 1);
    kinds_.Read(0, KindLast + 1, v.data());
    return v;
}

bool Store::AssignKinds(const std::vector<Rec>& v) {
    if (v.size() > size_t(Capacity)) return false;
    kinds_.Write(0, int32_t(v.size()), v.data());
    KindLast = int32_t(v.size()) - 1;
    return true;
}

std::string_view Store::AreaName(int a) const {
    if (!ValidArea(a)) return {};
    const auto& slice = names_[size_t(a / NamesPerSlice)];
    if (!slice) return {};
    const NameField& n = slice[a % NamesPerSlice];
    return std::string_view(n.data(), strnlen(n.data(), NameBytes));
}

bool Store::SetAreaName(int a, std::string_view bytes) {
    // The name ends at the first NUL, as in the original fixed field.
    const auto nul = bytes.find('\0');
    if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    if (!ValidArea(a)) return false;
    const std::string_view cut = sjis::CutToBytes(bytes, NameBytes);
    NameField& n = WritableName(a);
    n.fill(0);
    // An empty view may carry no pointer at all, which memcpy must not get.
    if (!cut.empty()) std::memcpy(n.data(), cut.data(), cut.size());
    // A name is one line of the work file: a line break or other control
    // character from an import, a finished map or a paste becomes a space.
    // (No Shift-JIS byte of a two-byte character lies in that range.)
    for (size_t i = 0; i < cut.size(); ++i)
        if (uint8_t(n[i]) < 0x20 || uint8_t(n[i]) == 0x7F) n[i] = ' ';
    return cut.size() == bytes.size();
}

namespace {

// A slice of n records that may be unallocated (all zeros); written, it is
// made (zeroed) or copied from the one it shares.
template <class T>
T* WritableSlice(std::shared_ptr<T[]>& s, size_t n) {
    if (!s) {
        s = std::make_shared<T[]>(n);
    } else if (s.use_count() > 1) {
        auto own = std::make_shared<T[]>(n);
        std::copy_n(s.get(), n, own.get());
        s = std::move(own);
    }
    return s.get();
}

// After a step: a slice of `snap` equal to `prev`'s is made one with it again
// (in `live` too, when live still shares snap's).
template <class T, size_t N>
void ShareEqualSlices(std::array<std::shared_ptr<T[]>, N>& live,
                      std::array<std::shared_ptr<T[]>, N>& snap,
                      const std::array<std::shared_ptr<T[]>, N>& prev, size_t n) {
    for (size_t i = 0; i < N; ++i) {
        if (snap[i] == prev[i] || !SameSlice(snap[i], prev[i], n)) continue;
        if (live[i] == snap[i]) live[i] = prev[i];
        snap[i] = prev[i];
    }
}

template <class T, size_t N>
size_t UnsharedSliceBytes(const std::array<std::shared_ptr<T[]>, N>& a,
                          const std::array<std::shared_ptr<T[]>, N>* b, size_t n) {
    size_t bytes = 0;
    for (size_t i = 0; i < N; ++i)
        if (a[i] && (!b || a[i] != (*b)[i])) bytes += n * sizeof(T);
    return bytes;
}

}  // namespace

Rec* Store::WritableSlot(int k) {
    return WritableSlice(areaPos_[size_t(k)], MaxAreas + 1);
}

Store::NameField& Store::WritableName(int a) {
    return WritableSlice(names_[size_t(a / NamesPerSlice)], NamesPerSlice)[a % NamesPerSlice];
}

void Store::RestoreMap(const Store& snap) {
    *this = snap;
}

bool Store::SameMap(const Store& a, const Store& b) {
    if (a.PointLast != b.PointLast || a.KindLast != b.KindLast || a.AreaCount != b.AreaCount ||
        a.LegendX != b.LegendX || a.LegendY != b.LegendY || a.MapWidth != b.MapWidth ||
        a.MapHeight != b.MapHeight || a.MapTitle != b.MapTitle ||
        a.MapCommentCount != b.MapCommentCount || a.MapComments != b.MapComments ||
        a.BasePicLoaded != b.BasePicLoaded || a.Geo != b.Geo)
        return false;
    for (int i = 0; i < NameSlices; ++i)
        if (!SameSlice(a.names_[size_t(i)], b.names_[size_t(i)], NamesPerSlice)) return false;
    for (int k = 0; k < Slots; ++k)
        if (!SameSlice(a.areaPos_[size_t(k)], b.areaPos_[size_t(k)], MaxAreas + 1)) return false;
    return PagedPool::SameRecords(a.points_, b.points_, a.PointLast + 1) &&
           PagedPool::SameRecords(a.kinds_, b.kinds_, a.KindLast + 1);
}

void Store::ShareEqual(Store& live, Store& snap, const Store& prev) {
    PagedPool::ShareEqualPages(live.points_, snap.points_, prev.points_);
    PagedPool::ShareEqualPages(live.kinds_, snap.kinds_, prev.kinds_);
    ShareEqualSlices(live.names_, snap.names_, prev.names_, NamesPerSlice);
    ShareEqualSlices(live.areaPos_, snap.areaPos_, prev.areaPos_, MaxAreas + 1);
}

size_t Store::UnsharedBytes(const Store& a, const Store* b) {
    size_t n = PagedPool::UnsharedBytes(a.points_, b ? &b->points_ : nullptr) +
               PagedPool::UnsharedBytes(a.kinds_, b ? &b->kinds_ : nullptr);
    n += UnsharedSliceBytes(a.names_, b ? &b->names_ : nullptr, NamesPerSlice);
    n += UnsharedSliceBytes(a.areaPos_, b ? &b->areaPos_ : nullptr, MaxAreas + 1);
    return n;
}
