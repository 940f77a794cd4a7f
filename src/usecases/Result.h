// What a use case hands back: whether it did its work, what to tell the
// person (a message id and its arguments, with caption and icon), and the
// files it wrote. The window shows the message; the command-line tool looks
// at the data.
#pragma once

#include <QString>
#include <QStringList>

#include "base/Messages.h"
#include "base/DialogFields.h"

namespace usecase {

struct Message {
    Msg id = Msg::None;
    QStringList args;
    Msg caption = Msg::None;
    MsgIcon icon = MsgIcon::None;
    // Text already worded elsewhere (a parser's or the composition's own),
    // shown when id is None.
    QString literal;

    bool Empty() const { return id == Msg::None && literal.isEmpty(); }
    QString Text() const { return id == Msg::None ? literal : msg::Format(id, args); }
    QString Caption() const { return msg::Text(caption); }
};

struct Result {
    bool ok = false;
    Message message;      // empty: nothing to say
    QStringList written;  // the files now on disk, in the order written
};

inline Message Say(Msg id, QStringList args, Msg caption, MsgIcon icon) {
    return Message{id, std::move(args), caption, icon, QString()};
}

}  // namespace usecase
