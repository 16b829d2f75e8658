#include "registration/StartupFile.h"

#include <afxwin.h>

#include <optional>
#include <string>

#include "app/FileHelpers.h"
#include "app/Messages.h"
#include "app/PathCompose.h"
#include "registration/SearchPath.h"
#include "res/resource.h"

namespace {

// The startup file, its backup, and the new content before it takes the file's place.
struct StartupFileNames {
    char folder[kPathBufferSize];
    char file[kPathBufferSize];
    char backup[kPathBufferSize];
    char pending[kPathBufferSize];
};

// The whole file, zero bytes included; false when it cannot be read.
bool ReadStartupFile(const char* path, std::string& text)
{
    HGLOBAL memory = nullptr;
    char* bytes = nullptr;
    DWORD length = 0;
    if (ReadWholeFile(path, &memory, &bytes, &length) != kReadWholeFileOk) return false;
    text = std::string_view(bytes, length);
    GlobalUnlock(memory);
    GlobalFree(memory);
    return true;
}

// Whether the file could be created, and whether all of the text then reached the disk.
enum class PendingOutcome { kWritten, kNotCreated, kNotWritten };

PendingOutcome WritePendingFile(const char* path, const std::string& text)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return PendingOutcome::kNotCreated;
    DWORD size = static_cast<DWORD>(text.size());
    DWORD written = 0;
    DWORD error = ERROR_SUCCESS;
    if (!WriteFile(file, text.data(), size, &written, nullptr)) error = GetLastError();
    else if (written != size) error = ERROR_DISK_FULL;
    else if (!SetEndOfFile(file) || !FlushFileBuffers(file)) error = GetLastError();
    if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
    if (error == ERROR_SUCCESS) return PendingOutcome::kWritten;
    DeleteFileA(path);
    SetLastError(error);
    return PendingOutcome::kNotWritten;
}

// Renames only, so that at every moment a complete file bears the startup file's name, except
// between two renames, which a failure of the second undoes. False with the error of the failed
// call as the last error; the pending file is gone then.
bool PutPendingFileInPlace(const StartupFileNames& names)
{
    DWORD attributes = GetFileAttributesA(names.file);
    char aside[kPathBufferSize] = {};
    const char* oldFile = names.backup;
    if (!MoveFileA(names.file, names.backup)) {
        // A backup from an earlier run is kept: the old file waits under a name of its own.
        if (!GetTempFileNameA(names.folder, "aut", 0, aside) || !DeleteFileA(aside) ||
            !MoveFileA(names.file, aside)) {
            DWORD error = GetLastError();
            DeleteFileA(names.pending);
            SetLastError(error);
            return false;
        }
        oldFile = aside;
    }
    if (!MoveFileA(names.pending, names.file)) {
        DWORD error = GetLastError();
        MoveFileA(oldFile, names.file);
        DeleteFileA(names.pending);
        SetLastError(error);
        return false;
    }
    if (aside[0]) {
        SetFileAttributesA(aside, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(aside);
    }
    // A read-only or hidden startup file stays so.
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(names.file, attributes);
    return true;
}

}  // namespace

bool AddToStartupFile(const char* folder, const char* driveRoot)
{
    StartupFileNames names;
    ComposePath(names.folder, driveRoot, "");
    ComposePath(names.file, driveRoot, "Autoexec.bat");
    ComposePath(names.backup, driveRoot, "Autoexec.bak");
    ComposePath(names.pending, driveRoot, "Autoexec.$$$");

    // Autoexec.bat is read by the real-mode command interpreter: long names would not do.
    char shortFolder[MAX_PATH];
    DWORD length = GetShortPathNameA(folder, shortFolder, sizeof shortFolder);
    if (length == 0 || length >= sizeof shortFolder) lstrcpynA(shortFolder, folder, sizeof shortFolder);

    std::string text;
    if (!ReadStartupFile(names.file, text)) return true;
    std::optional<std::string> updated = AddToStatement(text, shortFolder, GetACP());
    if (!updated) return true;

    switch (WritePendingFile(names.pending, *updated)) {
    case PendingOutcome::kNotCreated:
        ShowSystemErrorMessage(IDS_CREATE_FILE, names.file, MB_ICONHAND);
        return false;
    case PendingOutcome::kNotWritten:
        ShowSystemErrorMessage(IDS_FILE_WRITE, names.file, MB_ICONHAND);
        return false;
    case PendingOutcome::kWritten:
        break;
    }
    if (!PutPendingFileInPlace(names)) {
        ShowSystemErrorMessage(IDS_FILE_WRITE, names.file, MB_ICONHAND);
        return false;
    }
    return true;
}
