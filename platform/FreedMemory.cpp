#include "FreedMemory.h"

#if defined(__GLIBC__) || defined(_WIN32)
#include <malloc.h>
#endif

void returnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#elif defined(_WIN32)
    _heapmin();
#endif
}
