// Where the compiler's own start-up code enters the program (the 64-bit test build; the release
// has an entry point of its own).
#include <windows.h>

#include "AppCore.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return AfxWinMain(instance);
}
