#include "store/Store.h"

#include <algorithm>
#include <cstring>

#include "text/ShiftJis.h"

PagedPool::PagedPool() : pages_(MaxPages) {
    pages_[0] = std::make_unique<Rec[]>(PageSize + 1);
}

bool PagedPool::EnsurePage(int32_t i) {
    if (i < 0) return false;
    const int32_t page = i / PageSize;
    if (page > MaxPages - 1) return false;
    while (pageTop_ < page) {
        ++pageTop_;
        // Fresh pages start zeroed: stale slots then read as separators.
        pages_[pageTop_] = std::make_unique<Rec[]>(PageSize + 1);
    }
    return true;
}

void PagedPool::Set(int32_t i, int16_t x, int16_t y) {
    if (i < 0) return;
    const int32_t page = i / PageSize;
    if (page > pageTop_ && !EnsurePage(i)) return;
    Rec& r = pages_[page][i % PageSize];
    r.x = x;
    r.y = y;
}

Rec PagedPool::Get(int32_t i) const {
    if (i < 0) return {};
    const int32_t page = i / PageSize;
    if (page > pageTop_) return {};
    return pages_[page][i % PageSize];
}

void PagedPool::Move(int32_t from, int32_t to, int32_t count) {
    if (count <= 0 || from == to || from < 0 || to < 0) return;
    if (!EnsurePage(to + count - 1)) return;
    // Copies one stretch that lies within a single page on both sides; a
    // source page that was never written reads as zeros.
    auto copy = [&](int32_t k, int32_t n) {
        Rec* dst = &pages_[(to + k) / PageSize][(to + k) % PageSize];
        const int32_t sp = (from + k) / PageSize;
        if (sp > pageTop_) {
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

Store::Store() : names_(MaxAreas + 1), areaPos_(size_t(Slots) * (MaxAreas + 1)) {
    for (auto& n : names_) n.fill(0);
    points_.Set(0, 0, 0);
    kinds_.Set(0, 0, 0);
}

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
        if (page > pageTop_)
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
        std::memcpy(&pages_[i / PageSize][i % PageSize], in + k, size_t(n) * sizeof(Rec));
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
    const auto& n = names_[size_t(a)];
    return std::string_view(n.data(), strnlen(n.data(), NameBytes));
}

bool Store::SetAreaName(int a, std::string_view bytes) {
    // The name ends at the first NUL, as in the original fixed field.
    const auto nul = bytes.find('\0');
    if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    if (!ValidArea(a)) return false;
    const std::string_view cut = sjis::CutToBytes(bytes, NameBytes);
    auto& n = names_[size_t(a)];
    n.fill(0);
    // An empty view may carry no pointer at all, which memcpy must not get.
    if (!cut.empty()) std::memcpy(n.data(), cut.data(), cut.size());
    return cut.size() == bytes.size();
}
