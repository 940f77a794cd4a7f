#include <cstdio>

#include "cli/Commands.h"

namespace cli {
int RunReadIdt(const QStringList&) {
    std::fprintf(stderr, "velmot-cli read-idt: not available yet\n");
    return 2;
}
}  // namespace cli
