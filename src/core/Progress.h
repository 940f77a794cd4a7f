// The tool-panel progress bar as long operations drive it (range 0..100,
// stepping by a settable step).
#pragma once

#include "core/Ui.h"

class Progress {
public:
    explicit Progress(Ui& ui) : ui_(ui) {}
    void Show() { ui_.ShowProgress(true); }
    void Hide() { ui_.ShowProgress(false); }
    void SetStep(int step) { step_ = step; }
    void StepIt() { SetPosition(pos_ + step_ > 100 ? 0 : pos_ + step_); }
    void SetPosition(int p) {
        pos_ = p < 0 ? 0 : (p > 100 ? 100 : p);
        ui_.SetProgress(pos_);
    }
    int Position() const { return pos_; }

private:
    Ui& ui_;
    int pos_ = 0;
    int step_ = 10;
};
