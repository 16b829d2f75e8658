// Stand-in for the Lexaver uninstaller: shows the arguments that setup registered for it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    char text[1200];
    wsprintfA(text, "Lexaver sample uninstaller 3.1\n\nArguments: %.1000s", commandLine);
    MessageBoxA(NULL, text, "Unlexa", MB_OK | MB_ICONINFORMATION);
    return 0;
}
