// The C library functions that setup and the compiler's code call, for the program itself: the
// C runtime DLL that would otherwise provide them is one that a clean Windows 95 lacks. Memory
// comes from the process heap. Compiled without built-ins, so that the compiler does not turn these
// loops back into calls of themselves.

#include <windows.h>

#include <cstddef>

extern "C" {

// Every block of the program, new's included.
void* __cdecl malloc(std::size_t size)
{
    return ::HeapAlloc(::GetProcessHeap(), 0, size ? size : 1);
}

void __cdecl free(void* block)
{
    if (block) ::HeapFree(::GetProcessHeap(), 0, block);
}

void* __cdecl memcpy(void* target, const void* source, std::size_t count)
{
    auto* to = static_cast<unsigned char*>(target);
    auto* from = static_cast<const unsigned char*>(source);
    while (count--) *to++ = *from++;
    return target;
}

void* __cdecl memmove(void* target, const void* source, std::size_t count)
{
    auto* to = static_cast<unsigned char*>(target);
    auto* from = static_cast<const unsigned char*>(source);
    if (to <= from || to >= from + count) return memcpy(target, source, count);
    while (count--) to[count] = from[count];
    return target;
}

void* __cdecl memset(void* target, int value, std::size_t count)
{
    auto* to = static_cast<unsigned char*>(target);
    while (count--) *to++ = static_cast<unsigned char>(value);
    return target;
}

int __cdecl memcmp(const void* first, const void* second, std::size_t count)
{
    auto* a = static_cast<const unsigned char*>(first);
    auto* b = static_cast<const unsigned char*>(second);
    for (; count; --count, ++a, ++b)
        if (*a != *b) return *a < *b ? -1 : 1;
    return 0;
}

void* __cdecl memchr(const void* block, int value, std::size_t count)
{
    auto* p = static_cast<const unsigned char*>(block);
    for (; count; --count, ++p)
        if (*p == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(p);
    return nullptr;
}

std::size_t __cdecl strlen(const char* text)
{
    const char* end = text;
    while (*end) ++end;
    return static_cast<std::size_t>(end - text);
}

int __cdecl strcmp(const char* first, const char* second)
{
    auto* a = reinterpret_cast<const unsigned char*>(first);
    auto* b = reinterpret_cast<const unsigned char*>(second);
    while (*a && *a == *b) ++a, ++b;
    return *a < *b ? -1 : *a > *b;
}

char* __cdecl strstr(const char* text, const char* wanted)
{
    std::size_t length = strlen(wanted);
    for (; *text; ++text)
        if (memcmp(text, wanted, length) == 0) return const_cast<char*>(text);
    return length ? nullptr : const_cast<char*>(text);
}

}  // extern "C"
