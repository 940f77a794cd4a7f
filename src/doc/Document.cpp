#include "doc/Document.h"

bool Document::Checkpoint(QRect* changed) {
    if (!recording) return false;
    DocState* prev = history_.Empty() ? nullptr : &history_.Current();
    DocState s;
    s.store = st_;
    s.surface = SurfaceTiles::Take(surf_, prev ? &prev->surface : nullptr, changed);
    s.picture = PictureCopy::Take(pictureFile_, prev ? &prev->picture : nullptr);
    s.commands = ui_.Surface();
    bool step = false;
    if (!prev) {
        history_.Push(std::move(s));
    } else {
        Store::ShareEqual(st_, s.store, prev->store);
        step = !Store::SameMap(s.store, prev->store) || !s.picture.SharesWith(prev->picture);
        if (step)
            history_.Push(std::move(s));
        else
            history_.ReplaceCurrent(std::move(s));
    }
    // Whatever clears Modified (a save, a load, a new work) makes this the
    // step that matches the file; whatever sets it again leaves none.
    const uint64_t id = history_.Current().id;
    if (!st_.Modified)
        savedStep_ = id;
    else if (savedStep_ == id)
        savedStep_ = 0;
    return step;
}

Document::Restored Document::Restore(DocState& s) {
    Restored r;
    st_.RestoreMap(s.store);
    st_.Modified = s.id != savedStep_;
    const PictureCopy::Stamp before = PictureCopy::StampOf(pictureFile_);
    s.picture.WriteBack(pictureFile_);
    r.pictureChanged = !(before == s.picture.stamp);
    r.changed = s.surface.ApplyTo(surf_, &r.resized);
    ui_.Replay(s.commands);
    return r;
}
