// The program's entry point and end, in place of the compiler's start-up code and C runtime. That
// code prepares command-line arguments, floating point, console error reporting, thread-local
// storage and relocations of imported data, none of which setup uses, and it needs msvcrt.dll,
// which a clean Windows 95 does not have (setup is what brings it). What remains: static objects
// constructed (and destroyed at exit), and the application run.

#include <windows.h>

#include "AppCore.h"

extern "C" {

// Set up by the linker: -1, the constructors of the static objects, 0.
extern void (*__CTOR_LIST__[])();
extern void (*__DTOR_LIST__[])();

}  // extern "C"

namespace {

// The compiler registers the destructor of each static object; setup has a handful.
void (*g_exitFunctions[32])();
int g_exitFunctionCount = 0;

void RunDestructorList()
{
    for (void (**d)() = __DTOR_LIST__ + 1; *d; ++d) (*d)();
}

void RunConstructorList()
{
    int count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
    // Last first, as the compiler's own start-up code does.
    while (count > 0) __CTOR_LIST__[count--]();
    atexit(RunDestructorList);
}

}  // namespace

extern "C" {

int __cdecl atexit(void(__cdecl* function)())
{
    if (g_exitFunctionCount == static_cast<int>(sizeof g_exitFunctions / sizeof g_exitFunctions[0])) return -1;
    g_exitFunctions[g_exitFunctionCount++] = function;
    return 0;
}

void __cdecl exit(int code)
{
    while (g_exitFunctionCount > 0) g_exitFunctions[--g_exitFunctionCount]();
    ::ExitProcess(static_cast<UINT>(code));
}

// A programming error (a string position past the end, say): the program ends at once, with the
// code the C runtime's abort gives.
void __cdecl abort()
{
    ::ExitProcess(3);
}

// Windows enters here with a stack aligned to 4 bytes only.
__attribute__((force_align_arg_pointer, noreturn)) void WinMainCRTStartup()
{
    RunConstructorList();
    exit(AfxWinMain(::GetModuleHandleA(nullptr)));
}

}  // extern "C"
