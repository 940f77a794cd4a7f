// The one in-memory model of the map being edited: the paged point and kind
// pools, the area table and the program-wide state the commands share.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "georef/GeoRef.h"
#include "store/Mode.h"

struct Rec {
    int16_t x = 0;
    int16_t y = 0;
    friend bool operator==(Rec a, Rec b) { return a.x == b.x && a.y == b.y; }
};

// A pool of 4-byte records in pages of 15,360 allocated on first write.
class PagedPool {
  public:
    static constexpr int32_t PageSize = 15360;
    static constexpr int32_t MaxPages = 1000;
    static constexpr int32_t Capacity = PageSize * MaxPages;  // 15,360,000 records

    PagedPool();
    // Makes sure the page holding index i exists; false when i is beyond capacity.
    bool EnsurePage(int32_t i);
    // Stores (x, y) at i; silently stores nothing beyond capacity.
    void Set(int32_t i, int16_t x, int16_t y);
    // Unallocated pages read as (0,0). Inline: whole-list loops call it for
    // every record.
    Rec Get(int32_t i) const {
        if (i < 0) return {};
        const int32_t page = i / PageSize;
        if (page > pageTop_ || !pages_[size_t(page)]) return {};
        return pages_[size_t(page)][i % PageSize];
    }
    int16_t X(int32_t i) const { return Get(i).x; }
    int16_t Y(int32_t i) const { return Get(i).y; }
    int16_t PageTop() const { return pageTop_; }
    // Moves records [from, from+count) to [to, to+count) (overlap allowed).
    void Move(int32_t from, int32_t to, int32_t count);
    // Bulk copies a page at a time; Write allocates pages and refuses (false,
    // nothing written) a range beyond capacity.
    void Read(int32_t first, int32_t count, Rec* out) const;
    bool Write(int32_t first, int32_t count, const Rec* in);

    // Copies share their pages; a page is copied only when one side writes
    // to it, so an undo step costs the pages it touched.
    // Pages that hold the same records in `snap` and `prev` are made one page
    // again (in `live` too), after a write that changed nothing.
    static void ShareEqualPages(PagedPool& live, PagedPool& snap, const PagedPool& prev);
    // Bytes of the pages `a` holds that `b` does not share (all of them
    // when b is null).
    static size_t UnsharedBytes(const PagedPool& a, const PagedPool* b);
    // Whether records [0, count) are equal, comparing only pages not shared.
    static bool SameRecords(const PagedPool& a, const PagedPool& b, int32_t count);
    static constexpr size_t PageBytes = size_t(PageSize + 1) * sizeof(Rec);

  private:
    using Page = std::shared_ptr<Rec[]>;
    // The page for writing: a private copy when a snapshot still shares it.
    Rec* Writable(int32_t page, bool wholePage = false);
    std::vector<Page> pages_;
    int16_t pageTop_ = 0;
};

enum Kind : int16_t { KindSecondBoundary = -1, KindDivision = -9, KindAuxiliary = -8 };

class Store {
  public:
    static constexpr int32_t Capacity = PagedPool::Capacity;
    static constexpr int MaxAreas = 3440;
    static constexpr int NameBytes = 18;  // plus a terminating NUL in the original field
    static constexpr int Slots = 11;
    static constexpr int MaxComments = 20;

    Store();  // AllocateStore

    // ---- point list ----
    int32_t PointLast = 0;
    void SetPoint(int32_t i, int16_t x, int16_t y) { points_.Set(i, x, y); }
    void SetPoint(int32_t i, Rec r) { points_.Set(i, r.x, r.y); }
    int16_t PointX(int32_t i) const { return points_.X(i); }
    int16_t PointY(int32_t i) const { return points_.Y(i); }
    Rec Point(int32_t i) const { return points_.Get(i); }
    // Shifts records i..PointLast up by one and stores (x, y) at i. Refused
    // (false, nothing changes) when the list is full, so the top record is
    // never pushed out past the capacity.
    bool InsertPoint(int32_t i, int16_t x, int16_t y);
    // Moves records start+count.. down to start; PointLast shrinks by count
    // unless count exceeds it, in which case it is left as it was.
    void DeletePoints(int32_t start, int32_t count);
    bool EnsurePointPage(int32_t i) { return points_.EnsurePage(i); }
    int16_t PointPageTop() const { return points_.PageTop(); }
    // Whether n more records can be appended to the point list.
    bool PointRoom(int64_t n = 1) const { return int64_t(PointLast) + n <= Capacity - 1; }
    // Appends one record (PointLast grows); false and nothing changes when full.
    bool AppendPoint(int16_t x, int16_t y);
    // Bulk access for whole-list algorithms (one pass instead of record shifting).
    std::vector<Rec> PointsToVector() const;  // records 0..PointLast
    // Replaces records 0..; PointLast = size-1 (0 with record 0 = (0,0) when v
    // is empty). More than the capacity is refused: false, nothing changes.
    bool AssignPoints(const std::vector<Rec>& v);

    // ---- kind list ----
    int32_t KindLast = -1;
    void SetKind(int32_t i, int16_t x, int16_t y) { kinds_.Set(i, x, y); }
    void SetKind(int32_t i, Rec r) { kinds_.Set(i, r.x, r.y); }
    int16_t KindX(int32_t i) const { return kinds_.X(i); }
    int16_t KindY(int32_t i) const { return kinds_.Y(i); }
    Rec KindRec(int32_t i) const { return kinds_.Get(i); }
    // As DeletePoints; KindLast shrinks by count but not below -1.
    void DeleteKinds(int32_t start, int32_t count);
    bool EnsureKindPage(int32_t i) { return kinds_.EnsurePage(i); }
    int16_t KindPageTop() const { return kinds_.PageTop(); }
    bool KindRoom(int64_t n = 1) const { return int64_t(KindLast) + n <= Capacity - 1; }
    std::vector<Rec> KindsToVector() const;
    // KindLast = size-1 (-1 when empty); refused like AssignPoints.
    bool AssignKinds(const std::vector<Rec>& v);

    // ---- area table (areas 1..3440, slots 0..10) ----
    int16_t AreaCount = 0;
    static bool ValidArea(int a) { return a >= 1 && a <= MaxAreas; }
    static bool ValidSlot(int k) { return k >= 0 && k < Slots; }
    // The stored name bytes (Shift-JIS), at most 18; empty for an area number
    // outside 1..3440.
    std::string_view AreaName(int a) const;
    // Stores a name, cut at a Shift-JIS character boundary to 18 bytes; returns
    // false when it had to be cut (or the area number is out of range).
    bool SetAreaName(int a, std::string_view bytes);
    // Slot k of area a. Out-of-range numbers reach a scratch record that reads
    // (0,0), so a bad number from a file can never touch other memory.
    Rec& AreaPos(int k, int a) {
        if (!ValidSlot(k) || !ValidArea(a)) return scratchPos_ = Rec{};
        return WritableSlot(k)[a];
    }
    // (const: a slot of a store read through a const reference cannot be
    // assigned by mistake.)
    const Rec AreaPos(int k, int a) const {
        if (!ValidSlot(k) || !ValidArea(a) || !areaPos_[size_t(k)]) return Rec{};
        return areaPos_[size_t(k)][a];
    }

    // ---- shared state ----
    ::Mode Mode = ::Mode::Input;

    // ---- the work's flags ----
    // Modified: changes not yet saved. Completed: the point list is the
    // composed outlines, ready to be written as a finished map. Composed:
    // the composition ran on this work (the work file says so).
    // The operations below name what happened. The editor's commands reach
    // them through the document (doc/Document.h); a reader or use case
    // filling a store of its own calls them directly.
    bool Modified = false;
    bool Completed = false;
    bool Composed = false;
    // The lines or areas changed: unsaved, and no longer the composed result.
    void MarkEdited() {
        Completed = false;
        Modified = true;
    }
    // An unsaved change that leaves the composition standing (a position,
    // the legend, the picture, the title).
    void MarkChanged() { Modified = true; }
    // The composed result no longer holds, though nothing was changed yet
    // that needs saving (a mode left, a question answered).
    void DropCompleted() { Completed = false; }
    void MarkSaved() { Modified = false; }
    void MarkComposed() { Completed = Composed = true; }
    // The network was rewritten: neither composed nor complete.
    void ForgetComposition() { Completed = Composed = false; }
    void ClearFlags() { Modified = Completed = Composed = false; }
    bool BasePicLoaded = false;
    bool BasePicShown = true;
    int16_t LegendX = -1, LegendY = -1;
    int16_t MapWidth = 0, MapHeight = 0;
    std::string MapTitle;  // Shift-JIS bytes, at most 255
    int16_t MapCommentCount = 0;
    std::array<std::string, MaxComments + 1> MapComments;  // 1..20, Shift-JIS bytes
    // The names the file dialogs propose; they go back and forth with the
    // steps of the work, as the files they name do.
    QString WorkFileName;
    QString IdtFileName;
    // Where the pixels lie on the ground; saved beside the work with it.
    georef::GeoRef Geo;

    // ---- undo snapshots ----
    // A copy of the store shares every page and table with it (copy on
    // write). RestoreMap brings back everything of a copy.
    void RestoreMap(const Store& snap);
    // Whether the map itself (lists, areas, legend, extent, title, picture
    // present) differs; flags, mode and file names are not the map.
    static bool SameMap(const Store& a, const Store& b);
    // After a step: what is equal to the step before is shared with it again.
    static void ShareEqual(Store& live, Store& snap, const Store& prev);
    // Bytes `a` holds that `b` does not share (everything when b is null).
    static size_t UnsharedBytes(const Store& a, const Store* b);

  private:
    // The area table lies in slices that stay unallocated, reading as zeros,
    // until written: most maps fill a few slots of a few hundred areas, and a
    // copy kept for undo copies only the slice a change reaches.
    using NameField = std::array<char, NameBytes + 1>;
    static constexpr int NamesPerSlice = 256;
    static constexpr int NameSlices = (MaxAreas + NamesPerSlice) / NamesPerSlice;
    Rec* WritableSlot(int k);  // slot k of areas 0..MaxAreas
    NameField& WritableName(int a);
    PagedPool points_;
    PagedPool kinds_;
    std::array<std::shared_ptr<NameField[]>, NameSlices> names_;
    std::array<std::shared_ptr<Rec[]>, Slots> areaPos_;
    Rec scratchPos_;
};
