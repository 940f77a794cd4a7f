// velmot-cli: batch commands over the editor's core.
#include <cstdio>
#include <cstring>

namespace {
void PrintHelp() {
    std::printf(
        "usage: velmot-cli <command> [arguments]\n"
        "\n"
        "commands:\n"
        "  --help       this text\n"
        "  --version    the program's version\n");
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        PrintHelp();
        return argc < 2 ? 2 : 0;
    }
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("velmot-cli 1.22\n");
        return 0;
    }
    std::fprintf(stderr, "velmot-cli: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}
