#include "app/LargeBuffers.h"

// Included unconditionally: the C library's own macros, which tell whether its allocator can be
// tuned, are defined only by its headers.
#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

void keepLargeBuffersMapped()
{
#if defined(M_MMAP_THRESHOLD)
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}
