#include "install/LibraryVersion.h"

#include <windows.h>

#include <cstdlib>

#include "app/SystemDlls.h"

bool ReadVersionTriple(const char* path, VersionTriple& triple)
{
    triple = VersionTriple();
    DWORD handle = 0;
    DWORD size = VersionDll::GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return true;
    void* info = std::malloc(size);
    if (!info) return false;
    if (VersionDll::GetFileVersionInfoA(path, handle, size, info)) {
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        if (VersionDll::VerQueryValueA(info, "\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
            length >= sizeof(VS_FIXEDFILEINFO))
            triple = TripleFromFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    }
    std::free(info);
    return true;
}
