// SPDX-License-Identifier: GPL-3.0-or-later
// Looking at a block of bytes at once for the few bytes that matter. The scans of a pour pass over the
// whole file, where a byte of interest lies every few bytes, too near for a call of memchr to pay for
// itself: blocks tested without branches go through the bytes between them at a fraction of the cost.
// A block is 16 bytes where the processor compares them at once (SSE2, on every x86-64), and otherwise a
// word of 8 bytes tested by arithmetic, on any processor of either byte order.
#pragma once

#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lirobel::vsqx::bytescan {

/// A set of the bytes of a block, the first byte the lowest; Marks() of none is 0. Sets combine with &, |
/// and marks &= marks - 1, which drops the first.
using Marks = std::uint64_t;

#ifdef __SSE2__

inline constexpr long kBlock = 16;
using Block = __m128i;

inline Block Load(const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}
inline void Store(char* at, Block block) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), block);
}
inline Marks Equal(Block block, char byte) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(byte))));
}
/// The index in its block of the first byte of a set that is not empty.
inline int First(Marks marks) {
    return std::countr_zero(marks);
}

#else

inline constexpr long kBlock = 8;
using Block = std::uint64_t;

inline Block Load(const char* at) {
    Block block;
    std::memcpy(&block, at, sizeof block);
    return block;
}
inline void Store(char* at, Block block) {
    std::memcpy(at, &block, sizeof block);
}
// The high bit of every byte that equals `byte`, exact: no carry runs from one byte into the next. In the
// order of the bytes in memory, whichever order the processor keeps them in.
inline Marks Equal(Block block, char byte) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kLowBits = 0x7f7f7f7f7f7f7f7fULL;
    const std::uint64_t x = block ^ (kOnes * static_cast<unsigned char>(byte));
    const Marks marks = ~(((x & kLowBits) + kLowBits) | x) & ~kLowBits;
    return std::endian::native == std::endian::little ? marks : __builtin_bswap64(marks);
}
inline int First(Marks marks) {
    return std::countr_zero(marks) / 8;
}

#endif

/// How many bytes of [begin, end) equal `byte`; once there are `enough`, `enough` or a little more,
/// found without reading on.
inline long Count(const char* begin, const char* end, char byte, long enough = LONG_MAX) {
    long count = 0;
    const char* at = begin;
    for (; end - at >= kBlock && count < enough; at += kBlock) {
        // Few bytes of a block match where this is used: the loop runs once per match, no call needed.
        for (Marks marks = Equal(Load(at), byte); marks; marks &= marks - 1)
            ++count;
    }
    for (; at < end && count < enough; ++at)
        count += *at == byte;
    return count;
}

/// Where needle first lies in [begin, end), or null. Blocks are tested for its first
/// and last byte at once, which in markup rules out nearly every other place; a general search would
/// build a table on every call, and the searches of a rewrite are many and short.
inline const char* Find(const char* begin, const char* end, const char* needle, long needleSize) {
    if (needleSize < 2)
        return needleSize == 1
                   ? static_cast<const char*>(std::memchr(begin, needle[0], static_cast<size_t>(end - begin)))
                   : begin;
    const long last = needleSize - 1;
    const char* at = begin;
    for (; end - at >= kBlock + last; at += kBlock) {
        for (Marks marks = Equal(Load(at), needle[0]) & Equal(Load(at + last), needle[last]); marks;
             marks &= marks - 1) {
            const char* const candidate = at + First(marks);
            if (std::memcmp(candidate + 1, needle + 1, static_cast<size_t>(last - 1)) == 0)
                return candidate;
        }
    }
    for (; end - at >= needleSize; ++at) {
        if (*at == needle[0] && std::memcmp(at + 1, needle + 1, static_cast<size_t>(last)) == 0)
            return at;
    }
    return nullptr;
}

} // namespace lirobel::vsqx::bytescan
