// Stand-in for the Lexaver editor: shows the command line it was started with.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    char text[1200];
    wsprintfA(text, "Lexaver sample editor 3.1\n\nCommand line: %.1000s", commandLine);
    MessageBoxA(NULL, text, "Lexaver", MB_OK | MB_ICONINFORMATION);
    return 0;
}
