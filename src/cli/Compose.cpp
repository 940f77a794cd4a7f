#include <cstdio>

#include "cli/Commands.h"

namespace cli {
int RunCompose(const QStringList&) {
    std::fprintf(stderr, "velmot-cli compose: not available yet\n");
    return 2;
}
int RunCheck(const QStringList&) {
    std::fprintf(stderr, "velmot-cli check: not available yet\n");
    return 2;
}
}  // namespace cli
