#include "GEDBigTable.h"

#include <cstdint>

#include <sys/mman.h>

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
std::size_t roundUp(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }
}  // namespace

void* GEDBigTable::map(std::size_t bytes) {
    const std::size_t size = roundUp(bytes);
    // One huge page more than asked for, so that the block can start on a
    // 2 MB boundary; the ends beyond the block are given back at once.
    const std::size_t span = size + kHugePage;
    void* raw = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
    if (aligned > start) munmap(raw, aligned - start);
    const std::uintptr_t end = start + span;
    if (end > aligned + size) munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    void* block = reinterpret_cast<void*>(aligned);
    madvise(block, size, MADV_HUGEPAGE);
    return block;
}

void GEDBigTable::unmap(void* p, std::size_t bytes) noexcept { munmap(p, roundUp(bytes)); }
