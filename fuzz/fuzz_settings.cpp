// Feeds arbitrary bytes to the settings reader. Whatever it reads must be
// written back so that reading it again gives the same text, and a value set
// must be found again.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "shell/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    IniFile ini;
    ini.Parse(bytes);
    const QByteArray text = ini.Text();
    IniFile again;
    again.Parse(text);
    if (again.Text() != text) std::abort();
    // The keys the program writes back, over whatever the file held.
    ini.SetValue(QStringLiteral("MAIN"), QStringLiteral("Position"), QStringLiteral("1,2,3,4"));
    ini.SetValue(QStringLiteral("SET"), QStringLiteral("Image"), QStringLiteral("5,6"));
    IniFile written;
    written.Parse(ini.Text());
    if (written.Value(QStringLiteral("main"), QStringLiteral("position"), QString()) !=
            QStringLiteral("1,2,3,4") ||
        written.Value(QStringLiteral("set"), QStringLiteral("image"), QString()) !=
            QStringLiteral("5,6"))
        std::abort();
    return 0;
}
