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
