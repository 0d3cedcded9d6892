// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <sys/mman.h>

namespace lirobel::pinyin {

/// Allocates large tables in 2 MiB pages where the system offers them (Linux's transparent huge pages):
/// a table of tens of megabytes then costs a few dozen page faults instead of thousands, and lookups that
/// land anywhere in it miss the TLB far less. Small allocations are ordinary.
template <class T> struct HugePageAllocator {
    using value_type = T;
    static constexpr std::size_t kHugePage = std::size_t{2} << 20;

    HugePageAllocator() = default;
    template <class U> HugePageAllocator(const HugePageAllocator<U>&) {}

    T* allocate(std::size_t count) {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < kHugePage)
            return std::allocator<T>().allocate(count);
        void* memory = std::aligned_alloc(kHugePage, (bytes + kHugePage - 1) / kHugePage * kHugePage);
        if (!memory)
            throw std::bad_alloc();
        madvise(memory, bytes, MADV_HUGEPAGE); // a hint: without it the pages are ordinary
        return static_cast<T*>(memory);
    }
    void deallocate(T* memory, std::size_t count) {
        if (count * sizeof(T) < kHugePage)
            std::allocator<T>().deallocate(memory, count);
        else
            std::free(memory);
    }
    template <class U> bool operator==(const HugePageAllocator<U>&) const { return true; }
};

} // namespace lirobel::pinyin
