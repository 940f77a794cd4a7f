// Preloaded into velmot-cli by the fault tests: a rename() onto a name ending
// in $VELMOT_FAIL_RENAME fails with EIO, as on a dying disk or a share that
// went away between the write and the rename.
#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern "C" int rename(const char* from, const char* to) {
    const char* tail = std::getenv("VELMOT_FAIL_RENAME");
    const size_t n = tail ? std::strlen(tail) : 0, m = std::strlen(to);
    if (n > 0 && m >= n && std::strcmp(to + m - n, tail) == 0) {
        errno = EIO;
        return -1;
    }
    using Fn = int (*)(const char*, const char*);
    static const Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "rename"));
    return real(from, to);
}
