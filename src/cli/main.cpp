// velmot-cli: batch commands over the editor's core.
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "cli/Commands.h"

namespace {
void PrintHelp() {
    std::printf(
        "usage: velmot-cli <command> [arguments]\n"
        "\n"
        "commands:\n"
        "  compose WORK.vlm [-o OUT.vlm] [--idt OUT.idt [--title T] [--time \"YYYY/MM/DD hh:mm:ss\"]\n"
        "          [--resolution X,Y] [--magnification M] [--remark TEXT]...]\n"
        "               runs the final boundary composition and writes the composed work\n"
        "               file and/or the finished map\n"
        "  check WORK.vlm [--json]\n"
        "               traces every area position on its own and reports each outcome\n"
        "  read-idt IN.idt -o OUT.vlm\n"
        "               reads a finished map and saves it as a work file\n"
        "  --help       this text\n"
        "  --version    the program's version\n");
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        PrintHelp();
        return argc < 2 ? 2 : 0;
    }
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("velmot-cli 1.22\n");
        return 0;
    }
    const QStringList args = app.arguments().mid(2);
    if (!std::strcmp(argv[1], "compose")) return cli::RunCompose(args);
    if (!std::strcmp(argv[1], "check")) return cli::RunCheck(args);
    if (!std::strcmp(argv[1], "read-idt")) return cli::RunReadIdt(args);
    std::fprintf(stderr, "velmot-cli: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}
