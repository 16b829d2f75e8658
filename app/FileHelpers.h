// Whole-file reads and folder creation shared by the setup steps.
#ifndef APP_FILEHELPERS_H
#define APP_FILEHELPERS_H

#include <windows.h>

enum ReadWholeFileStatus {
    kReadWholeFileOk = 0,
    kReadWholeFileNoMemory = -1,
    kReadWholeFileNoLock = -2,
    kReadWholeFileNoOpen = -3,
    kReadWholeFileNoRead = -4,
};

// Length of an open file; the position is left where it was. HFILE_ERROR when it cannot be told.
LONG GetFileLength(HFILE file);

// Reads the file into movable global memory followed by a zero byte. On success the caller owns
// the locked block and, when asked, learns the file's length (zero bytes may lie within); on any
// failure nothing stays allocated, both pointers are null and the length is 0.
int ReadWholeFile(const char* path, HGLOBAL* memoryHandle, char** pointer, DWORD* fileLength = nullptr);

// Whether both paths name one file, as the system identifies it (volume and file index): short
// names, letter case, mapped drives and network names name one file many ways. False when either
// cannot be opened or the system gives no index.
bool IsSameFile(const char* first, const char* second);

// Whether the path names a folder that is there.
bool IsExistingFolder(const char* path);

// Creates every level of the path but the last, below its drive ("C:\") or the server and share
// of a network path. Returns 0 or the error of the first level that could not be created. The
// path is changed while this runs and restored before it returns.
DWORD CreateParentFolders(char* path);

#endif
