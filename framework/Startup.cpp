// The program's entry point, in place of the compiler's start-up code. That code also prepares
// command-line arguments, floating-point and console error reporting, thread-local storage and
// relocations of imported data, none of which setup uses, and costs more than ten kilobytes.
// What remains: the C runtime told that this is a windowed program, static objects constructed
// (and destroyed at exit), and the application run.

#include <cstdlib>
#include <windows.h>

#include "AppCore.h"

extern "C" {

// Set up by the linker: -1, the constructors of the static objects, 0.
extern void (*__CTOR_LIST__[])();
extern void (*__DTOR_LIST__[])();

void __cdecl __set_app_type(int);
typedef int(__cdecl* OnExitFunction)();
OnExitFunction __cdecl _onexit(OnExitFunction);

// The compiler registers the destructor of each static object with this.
int __cdecl atexit(void(__cdecl* function)())
{
    return _onexit(reinterpret_cast<OnExitFunction>(function)) ? 0 : -1;
}

} // extern "C"

namespace {

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

} // namespace

// Windows enters here with a stack aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer, noreturn)) void WinMainCRTStartup()
{
    __set_app_type(2); // a windowed program: the runtime's fatal errors go to a message box
    RunConstructorList();
    std::exit(AfxWinMain(::GetModuleHandleA(nullptr)));
}
