// The allocation functions behind every new and delete of the program: the process heap, which
// every Windows has. A request that cannot be met ends the run with message 129; there is no
// exception to throw and no new-handler to call.

#include <windows.h>

#include <new>

#include "AppCore.h"

void* operator new(std::size_t size)
{
    if (void* block = ::HeapAlloc(::GetProcessHeap(), 0, size ? size : 1)) return block;
    AfxOutOfMemory();
}

void operator delete(void* block) noexcept
{
    if (block) ::HeapFree(::GetProcessHeap(), 0, block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}
