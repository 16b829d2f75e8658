// DLLs beyond the always-loaded system ones are loaded by full path from the system folder: an
// installer runs from download folders, where a planted DLL must never be picked up.
#ifndef APP_SYSTEMDLLS_H
#define APP_SYSTEMDLLS_H

#include <windows.h>

// A function of a loaded system DLL that older systems lack, looked up instead of imported; null
// where the DLL or the function is missing.
template <class Proc>
Proc GetSystemProc(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Takes the program's own folder and the current folder out of the DLL search, where the system can.
void NarrowDllSearchPath();

// LoadLibrary of the system folder's copy of the named DLL; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

// Loads a DLL of another folder (the installed control) so that the DLLs beside it serve its own
// imports, as the system's registration tool does. The program's own folder stays out, and the
// current folder wherever NarrowDllSearchPath could remove it.
HMODULE LoadLibraryWithItsFolder(const char* path);

// Registers the common controls' window classes (the progress bar) from the system's comctl32.
BOOL InitProgressBarClass();

// The file version API of the system's version.dll; without it every file has no version information.
namespace VersionDll {
DWORD GetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle);
BOOL GetFileVersionInfoA(LPCSTR path, DWORD handle, DWORD size, LPVOID data);
BOOL VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length);
}  // namespace VersionDll

#endif
