// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/zip_library.h"

#include <dlfcn.h>
#include <optional>

namespace lirobel::vpr {

namespace {

template <typename Function> bool Resolve(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

struct Loaded {
    std::optional<ZipLibrary> library;
    QString failure;
};

Loaded Load() {
    // Local, so that neither its names nor libcrypto's stand in for those of a library loaded later.
    void* handle = dlopen(kZipSoname, RTLD_NOW | RTLD_LOCAL);
    ZipLibrary library;
    // A function missing is an older or a different library: none of it is used then.
#define LIROBEL_ZIP_LOOKUP(name) &&Resolve(handle, #name, library.name)
    if (handle && (true LIROBEL_ZIP_FUNCTIONS(LIROBEL_ZIP_LOOKUP)))
        return {library, {}};
#undef LIROBEL_ZIP_LOOKUP
    // dlerror says what kept the library from loading, or which function it lacks.
    Loaded failed{
        std::nullopt,
        QStringLiteral("cannot load %1: %2").arg(QLatin1String(kZipSoname), QString::fromLocal8Bit(dlerror()))};
    if (handle)
        dlclose(handle);
    return failed;
}

} // namespace

const ZipLibrary* LoadedZipLibrary(QString* failure) {
    static const Loaded loaded = Load();
    if (!loaded.library && failure)
        *failure = loaded.failure;
    return loaded.library ? &*loaded.library : nullptr;
}

} // namespace lirobel::vpr
