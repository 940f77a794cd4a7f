// The tool-panel progress bar as long operations drive it (range 0..100,
// stepping by a settable step). It knows no Ui: whoever owns it says where
// the bar is shown and moved, so pure code and the batch tool can step it too.
#pragma once

#include <functional>
#include <utility>

class Progress {
public:
    Progress(std::function<void(bool)> show, std::function<void(int)> set)
        : show_(std::move(show)), set_(std::move(set)) {}
    void Show() { show_(true); }
    void Hide() { show_(false); }
    void SetStep(int step) { step_ = step; }
    void StepIt() { SetPosition(pos_ + step_ > 100 ? 0 : pos_ + step_); }
    void SetPosition(int p) {
        pos_ = p < 0 ? 0 : (p > 100 ? 100 : p);
        set_(pos_);
    }
    int Position() const { return pos_; }

private:
    std::function<void(bool)> show_;
    std::function<void(int)> set_;
    int pos_ = 0;
    int step_ = 10;
};
