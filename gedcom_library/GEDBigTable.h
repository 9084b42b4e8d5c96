#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// The few tables of a document that grow with every line of the file (the
// line nodes and the payload text) take their memory straight from the
// operating system once they are large, in 2 MB aligned blocks marked for
// huge pages: a large file then costs one page fault per 2 MB instead of one
// per 4 KB, whichever heap the host program runs on. Small tables come from
// the ordinary heap.
namespace GEDBigTable {
// Bytes from which a table is mapped by itself.
inline constexpr std::size_t kMappedBytes = std::size_t(4) << 20;
void* map(std::size_t bytes);
void unmap(void* p, std::size_t bytes) noexcept;
}  // namespace GEDBigTable

template <class T>
struct GEDBigAllocator {
    using value_type = T;
    GEDBigAllocator() = default;
    template <class U>
    GEDBigAllocator(const GEDBigAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < GEDBigTable::kMappedBytes) return std::allocator<T>().allocate(n);
        return static_cast<T*>(GEDBigTable::map(bytes));
    }
    void deallocate(T* p, std::size_t n) noexcept {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < GEDBigTable::kMappedBytes)
            std::allocator<T>().deallocate(p, n);
        else
            GEDBigTable::unmap(p, bytes);
    }
    // Elements a table grows by are default-initialised, not value-
    // initialised: units of text are written right after the table grows,
    // and zeroing them first would write them twice.
    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U>
    bool operator==(const GEDBigAllocator<U>&) const noexcept {
        return true;
    }
};

template <class T>
using GEDBigVector = std::vector<T, GEDBigAllocator<T>>;
