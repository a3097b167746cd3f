#include "heaptuning.h"

// Names the C library (__GLIBC__).
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
// Blocks from 256 KiB up get mappings of their own: a 640x420 dialog's
// picture is about 1 MiB, while the page widgets' own allocations are far
// smaller and stay in the heap.
constexpr int kMappingThreshold = 256 * 1024;
} // namespace

void keepLargeBlocksOutOfTheHeap() {
#if defined(__GLIBC__)
    // Setting it turns the adjustment off for the rest of the run.
    mallopt(M_MMAP_THRESHOLD, kMappingThreshold);
#endif
}
