#pragma once

#include <cstddef>

// Bytes of the blocks in use on this thread's heap, counted by their size
// class. Measures what a structure costs by the difference before and after
// building it.
std::size_t programHeapBytesInUse();
