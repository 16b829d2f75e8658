// The DLL that the control fixture NeedsHelper.ocx imports: it must be found beside the control.
#include <windows.h>

extern "C" __declspec(dllexport) int LexaverHelperAnswer()
{
    return 42;
}
