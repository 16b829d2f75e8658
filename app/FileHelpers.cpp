#include "app/FileHelpers.h"

#include "app/PathScan.h"

LONG GetFileLength(HFILE file)
{
    LONG position = _llseek(file, 0, FILE_CURRENT);
    if (position == HFILE_ERROR) return HFILE_ERROR;
    LONG length = _llseek(file, 0, FILE_END);
    _llseek(file, position, FILE_BEGIN);
    return length;
}

int ReadWholeFile(const char* path, HGLOBAL* memoryHandle, char** pointer, DWORD* fileLength)
{
    *memoryHandle = nullptr;
    *pointer = nullptr;
    if (fileLength) *fileLength = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return kReadWholeFileNoOpen;

    // A length that cannot be told (or a file past 2 GB) must not size the block.
    LONG length = GetFileLength(static_cast<HFILE>(HandleToLong(file)));
    if (length < 0) {
        CloseHandle(file);
        return kReadWholeFileNoRead;
    }

    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(length) + 1);
    if (!memory) {
        CloseHandle(file);
        return kReadWholeFileNoMemory;
    }
    char* data = static_cast<char*>(GlobalLock(memory));
    if (!data) {
        GlobalFree(memory);
        CloseHandle(file);
        return kReadWholeFileNoLock;
    }

    DWORD read = 0;
    BOOL ok = ReadFile(file, data, static_cast<DWORD>(length), &read, nullptr);
    CloseHandle(file);
    if (!ok || read != static_cast<DWORD>(length)) {
        GlobalUnlock(memory);
        GlobalFree(memory);
        return kReadWholeFileNoRead;
    }
    *memoryHandle = memory;
    *pointer = data;
    if (fileLength) *fileLength = read;
    return kReadWholeFileOk;
}

DWORD CreateParentFolders(char* path)
{
    const unsigned codePage = GetACP();
    for (std::size_t end = FindCharacter(path, '\\', codePage, FirstFolderLevel(path, codePage));
         end != std::string_view::npos; end = FindCharacter(path, '\\', codePage, end + 1)) {
        path[end] = '\0';
        BOOL created = CreateDirectoryA(path, nullptr);
        DWORD error = created ? ERROR_SUCCESS : GetLastError();
        path[end] = '\\';
        if (!created && error != ERROR_ALREADY_EXISTS) return error;
    }
    return ERROR_SUCCESS;
}

bool IsSameFile(const char* first, const char* second)
{
    BY_HANDLE_FILE_INFORMATION info[2];
    const char* paths[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileA(paths[i], 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        BOOL known = GetFileInformationByHandle(file, &info[i]);
        CloseHandle(file);
        if (!known) return false;
    }
    // An index of 0 is no index: a file system that gives none would make every file the same.
    return (info[0].nFileIndexLow || info[0].nFileIndexHigh) &&
           info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexLow == info[1].nFileIndexLow && info[0].nFileIndexHigh == info[1].nFileIndexHigh;
}

bool IsExistingFolder(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
