// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into a pour, ends it midway as Ctrl+C or a shutdown would: raises the signal numbered by
// LIROBEL_RAISE_SIGNAL at a write into a file whose name begins with LIROBEL_RAISE_AT_WRITE_INTO.
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

extern "C" ssize_t write(int file, const void* bytes, size_t size) {
    using Write = ssize_t (*)(int, const void*, size_t);
    static const auto next = reinterpret_cast<Write>(dlsym(RTLD_NEXT, "write"));
    const char* prefix = std::getenv("LIROBEL_RAISE_AT_WRITE_INTO");
    const char* number = std::getenv("LIROBEL_RAISE_SIGNAL");
    if (prefix && number) {
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", file);
        char name[PATH_MAX];
        const ssize_t length = readlink(link, name, sizeof name - 1);
        if (length > 0) {
            name[length] = '\0';
            if (std::strncmp(name, prefix, std::strlen(prefix)) == 0)
                std::raise(std::atoi(number));
        }
    }
    return next(file, bytes, size);
}
