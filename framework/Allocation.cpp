// The allocation functions behind every new and delete of the program. A request that cannot be
// met ends the run with message 129; there is no exception to throw and no new-handler to call.

#include <cstdlib>
#include <new>

#include "AppCore.h"

void* operator new(std::size_t size)
{
    if (void* block = std::malloc(size)) return block;
    AfxOutOfMemory();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}
