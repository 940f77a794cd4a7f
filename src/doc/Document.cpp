#include "doc/Document.h"

bool Document::Checkpoint(QRect* changed) {
    if (!recording) return false;
    DocState* prev = history_.Empty() ? nullptr : &history_.Current();
    DocState s;
    s.store = st_;
    s.surface = SurfaceTiles::Take(surf_, prev ? &prev->surface : nullptr, changed);
    s.picture = PictureCopy::Take(pictureFile_, prev ? &prev->picture : nullptr);
    s.commands = ui_.Surface();
    if (!prev) {
        history_.Push(std::move(s));
        return false;
    }
    Store::ShareEqual(st_, s.store, prev->store);
    const bool step = !Store::SameMap(s.store, prev->store) || !s.picture.SharesWith(prev->picture);
    if (step)
        history_.Push(std::move(s));
    else
        history_.ReplaceCurrent(std::move(s));
    return step;
}

Document::Restored Document::Restore(DocState& s) {
    Restored r;
    st_.RestoreMap(s.store);
    const PictureCopy::Stamp before = PictureCopy::StampOf(pictureFile_);
    s.picture.WriteBack(pictureFile_);
    r.pictureChanged = !(before == s.picture.stamp);
    r.changed = s.surface.ApplyTo(surf_, &r.resized);
    ui_.Replay(s.commands);
    return r;
}
