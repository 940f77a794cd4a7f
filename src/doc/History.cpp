#include "doc/History.h"

namespace {

// Page tables, tile table and the store's own fields, held by every state.
constexpr size_t Overhead = 64 * 1024;

}  // namespace

size_t History::CostOf(size_t i) const {
    const DocState& s = states_[i];
    const DocState* p = i > 0 ? &states_[i - 1] : nullptr;
    size_t n = Overhead + Store::UnsharedBytes(s.store, p ? &p->store : nullptr) +
               s.surface.UnsharedBytes(p ? &p->surface : nullptr);
    if (!p || !s.picture.SharesWith(p->picture)) n += size_t(s.picture.bytes.size());
    return n;
}

void History::Recost(size_t i) {
    if (i >= states_.size()) return;
    bytes_ -= states_[i].cost;
    states_[i].cost = CostOf(i);
    bytes_ += states_[i].cost;
}

void History::Push(DocState s) {
    while (!states_.empty() && states_.size() > cur_ + 1) {
        bytes_ -= states_.back().cost;
        states_.pop_back();
    }
    s.id = ++serial_;
    states_.push_back(std::move(s));
    cur_ = states_.size() - 1;
    states_.back().cost = 0;
    Recost(cur_);
    while (bytes_ > limit_ && cur_ > 0) {
        bytes_ -= states_.front().cost;
        states_.pop_front();
        --cur_;
        Recost(0);  // now holds alone what it shared with the one dropped
    }
}

void History::ReplaceCurrent(DocState s) {
    if (states_.empty()) return Push(std::move(s));
    bytes_ -= states_[cur_].cost;
    s.id = states_[cur_].id;
    states_[cur_] = std::move(s);
    states_[cur_].cost = 0;
    Recost(cur_);
    Recost(cur_ + 1);
}

void History::Clear() {
    states_.clear();
    cur_ = 0;
    bytes_ = 0;
}
