// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every test and benchmark program: reading by words caches its tables in a folder of the
// build, never in the developer's own ~/.cache. Programs they start inherit it.
#include <QByteArray>

namespace {

// Before main, so before anything asks where the cache folder is.
[[maybe_unused]] const bool kCacheIsolated = qputenv("XDG_CACHE_HOME", QByteArray(LIROBEL_TEST_CACHE_HOME));

} // namespace
