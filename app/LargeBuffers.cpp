#include "app/LargeBuffers.h"

// Included unconditionally: the C library's own macros, which tell whether its allocator can be
// tuned, are defined only by its headers.
#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

// Windows' heap needs no setting: it gives each block above half a megabyte a mapping of its own
// and hands it back when the block is freed.
void keepLargeBuffersMapped()
{
#if defined(M_MMAP_THRESHOLD)
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}
