// The allocation functions behind every new and delete of the program. The library's versions call
// a new-handler in a loop, which setup never installs; these are the same without that detour.

#include <bits/functexcept.h>
#include <cstdlib>
#include <new>

void* operator new(std::size_t size)
{
    if (void* block = std::malloc(size ? size : 1)) return block;
    std::__throw_bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
