#include "editor/RecordingUi.h"

void RecordingUi::SetEnabled(Cmd c, bool on) {
    s_.enabled[size_t(c)] = on;
    in_.SetEnabled(c, on);
}

void RecordingUi::SetChecked(Cmd c, bool on) {
    s_.checked[size_t(c)] = on;
    in_.SetChecked(c, on);
}

void RecordingUi::SetCaption(Cmd c, const QString& text) {
    s_.captions[size_t(c)] = text;
    in_.SetCaption(c, text);
}

void RecordingUi::SetModeButtons(bool inputDown, bool editDown) {
    s_.modeButtons = {inputDown, editDown};
    in_.SetModeButtons(inputDown, editDown);
}

void RecordingUi::AttachPopup(Popup p) {
    s_.attached = p;
    in_.AttachPopup(p);
}

void RecordingUi::SetSurfaceCursor(SurfaceCursor c) {
    s_.cursor = c;
    in_.SetSurfaceCursor(c);
}

void RecordingUi::Replay(const CommandSurface& to) {
    for (size_t i = 0; i < size_t(Cmd::Count_); ++i) {
        const Cmd c = Cmd(i);
        if (c == Cmd::Undo || c == Cmd::Redo) continue;
        // A state never set before the step is the widgets' own default.
        const bool en = to.enabled[i].value_or(true), was = s_.enabled[i].value_or(true);
        if (en != was) SetEnabled(c, en);
        const bool ch = to.checked[i].value_or(false), had = s_.checked[i].value_or(false);
        if (ch != had) SetChecked(c, ch);
        if (to.captions[i] && to.captions[i] != s_.captions[i]) SetCaption(c, *to.captions[i]);
    }
    if (to.modeButtons && to.modeButtons != s_.modeButtons)
        SetModeButtons(to.modeButtons->first, to.modeButtons->second);
    if (to.cursor && to.cursor != s_.cursor) SetSurfaceCursor(*to.cursor);
    if (to.attached != s_.attached) AttachPopup(to.attached);
}

void RecordingUi::Hold() {
    if (hold_++ == 0) held_ = {};
}

RecordingUi::Held RecordingUi::Release() {
    if (hold_ > 0 && --hold_ == 0) return held_;
    return {};
}

void RecordingUi::SurfaceChanged() {
    if (hold_ > 0)
        held_.requested = true;
    else
        in_.SurfaceChanged();
}

void RecordingUi::RepaintNow() {
    // Before a long step the person must see the work as it is now.
    if (hold_ > 0 && held_.requested) {
        in_.SurfaceChanged();
        held_.requested = false;
        held_.flushed = true;
    }
    in_.RepaintNow();
}
