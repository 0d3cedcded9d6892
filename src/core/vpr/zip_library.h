// SPDX-License-Identifier: GPL-3.0-or-later
// libzip, loaded when the first ZIP archive is opened rather than linked: linked, it and the libcrypto it
// brings along cost every process some 2 ms of start-up, and most of them never open a .vpr project.
// <zip.h> still gives each function its type, so a call through the table is checked as a direct one.
#pragma once

#include <QString>
#include <zip.h>

namespace lirobel::vpr {

/// The versioned name that is loaded: the interface that <zip.h> declares.
inline constexpr char kZipSoname[] = "libzip.so.4";

// Every libzip function that the archive code calls, once: the table's members and its lookups follow it.
#define LIROBEL_ZIP_FUNCTIONS(X)                                                                                       \
    X(zip_close)                                                                                                       \
    X(zip_compression_method_supported)                                                                                \
    X(zip_discard)                                                                                                     \
    X(zip_error_fini)                                                                                                  \
    X(zip_error_init)                                                                                                  \
    X(zip_error_strerror)                                                                                              \
    X(zip_error_to_data)                                                                                               \
    X(zip_fclose)                                                                                                      \
    X(zip_file_replace)                                                                                                \
    X(zip_file_set_mtime)                                                                                              \
    X(zip_file_strerror)                                                                                               \
    X(zip_fopen_index)                                                                                                 \
    X(zip_fread)                                                                                                       \
    X(zip_get_name)                                                                                                    \
    X(zip_get_num_entries)                                                                                             \
    X(zip_open_from_source)                                                                                            \
    X(zip_register_progress_callback_with_state)                                                                       \
    X(zip_set_file_compression)                                                                                        \
    X(zip_source_buffer)                                                                                               \
    X(zip_source_buffer_create)                                                                                        \
    X(zip_source_close)                                                                                                \
    X(zip_source_error)                                                                                                \
    X(zip_source_free)                                                                                                 \
    X(zip_source_function)                                                                                             \
    X(zip_source_keep)                                                                                                 \
    X(zip_source_open)                                                                                                 \
    X(zip_source_read)                                                                                                 \
    X(zip_source_stat)                                                                                                 \
    X(zip_stat_index)                                                                                                  \
    X(zip_stat_init)                                                                                                   \
    X(zip_strerror)

/// libzip's functions, each as <zip.h> declares it; every one is set in a loaded library.
struct ZipLibrary {
#define LIROBEL_ZIP_MEMBER(name) decltype(&::name) name = nullptr;
    LIROBEL_ZIP_FUNCTIONS(LIROBEL_ZIP_MEMBER)
#undef LIROBEL_ZIP_MEMBER
};

/// The process's libzip, loaded by the first call from whichever thread and kept to the end; nullptr when it
/// cannot be loaded or lacks a function, and then `failure`, if given, says why, naming the library.
const ZipLibrary* LoadedZipLibrary(QString* failure = nullptr);

} // namespace lirobel::vpr
