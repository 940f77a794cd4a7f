// The undo history: whole states of the document, each sharing with its
// neighbour what the step between them did not touch. Bounded by memory; the
// oldest states go first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "doc/PictureCopy.h"
#include "base/CommandSurface.h"
#include "doc/SurfaceTiles.h"
#include "store/Store.h"

struct DocState {
    Store store;
    SurfaceTiles surface;
    PictureCopy picture;
    CommandSurface commands;
    size_t cost = 0;  // bytes not shared with the state before
    uint64_t id = 0;  // which step this is; a state that only gained new flags keeps it
};

class History {
  public:
    static constexpr size_t DefaultLimit = size_t(256) << 20;
    explicit History(size_t limitBytes = DefaultLimit) : limit_(limitBytes) {}

    bool Empty() const { return states_.empty(); }
    bool CanUndo() const { return cur_ > 0; }
    bool CanRedo() const { return cur_ + 1 < states_.size(); }
    DocState& Current() { return states_[cur_]; }
    const DocState* Before() const { return cur_ > 0 ? &states_[cur_ - 1] : nullptr; }

    // A new step: what could be redone goes, then the oldest states while
    // the history holds more than its limit (the current one always stays).
    void Push(DocState s);
    // The current state with new flags or marks (no step of its own).
    void ReplaceCurrent(DocState s);
    DocState& Back() { return states_[--cur_]; }
    DocState& Forward() { return states_[++cur_]; }
    void Clear();

    size_t Bytes() const { return bytes_; }
    size_t Count() const { return states_.size(); }
    size_t Position() const { return cur_; }
    void SetLimit(size_t bytes) { limit_ = bytes; }

  private:
    size_t CostOf(size_t i) const;
    void Recost(size_t i);
    std::deque<DocState> states_;
    size_t cur_ = 0;
    size_t bytes_ = 0;
    uint64_t serial_ = 0;
    size_t limit_;
};
