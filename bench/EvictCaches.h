#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstring>
#include <vector>

// Overwrites 1 GiB, more than the largest last-level cache, so that nothing
// of what a benchmark works on stays cached: every size then starts alike.
inline void evictCaches() {
    static std::vector<char> buffer(std::size_t(1) << 30);
    static char round = 0;
    std::memset(buffer.data(), ++round, buffer.size());
    benchmark::DoNotOptimize(buffer.data());
}
