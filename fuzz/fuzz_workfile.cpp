// Feeds arbitrary bytes to the work-file reader. Whatever it accepts must
// survive being stored, written and read again unchanged.
#include <QBuffer>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formats/WorkFormat.h"

namespace {
// The writer keeps every text on its own line: a control character comes back
// as a space.
std::string OneLine(std::string t) {
    for (char& c : t)
        if (uint8_t(c) < 0x20 || uint8_t(c) == 0x7F) c = ' ';
    return t;
}

bool Same(const WorkData& a, const WorkData& b) {
    return a.title == b.title && a.legendX == b.legendX && a.legendY == b.legendY &&
           a.mapWidth == b.mapWidth && a.mapHeight == b.mapHeight && a.points == b.points &&
           a.names == b.names && a.positions == b.positions && a.completed == b.completed &&
           a.kinds == b.kinds;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    WorkData d;
    QString error;
    if (!ReadWork(in, QStringLiteral("fuzz.vlm"), d, &error)) {
        if (error.isEmpty()) std::abort();  // a refusal always says why
        return 0;
    }
    static Store st;
    WorkData keep = d;
    keep.title = OneLine(keep.title);
    for (std::string& n : keep.names) n = OneLine(n);
    ApplyWork(std::move(d), st);
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    if (!WriteWork(out, st, "0")) std::abort();
    out.close();
    QBuffer again(&written);
    again.open(QIODevice::ReadOnly);
    WorkData back;
    if (!ReadWork(again, QStringLiteral("again.vlm"), back, &error)) std::abort();
    // Notes and the picture name are not carried by the store.
    if (!Same(keep, back)) std::abort();
    return 0;
}
