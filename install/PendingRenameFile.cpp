#include "install/PendingRenameFile.h"

#include "app/Messages.h"
#include "app/PathCompose.h"
#include "install/PendingRenames.h"
#include "res/resource.h"

bool PendingRenameFile::Open(const char* windowsFolder)
{
    ComposePath(m_path, windowsFolder, "Wininit.ini");
    // Read as well as written: other programs' pending renames must survive our lines.
    m_file = CreateFileA(m_path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) {
        ShowSystemErrorMessage(IDS_CREATE_FILE, m_path, MB_ICONHAND);
        return false;
    }

    std::string existing;
    DWORD size = GetFileSize(m_file, nullptr);
    if (size == INVALID_FILE_SIZE) return Fail(IDS_CREATE_FILE);
    existing.resize(size);
    DWORD read = 0;
    if (size && (!ReadFile(m_file, &existing[0], size, &read, nullptr) || read != size)) {
        if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_READ_FAULT);
        return Fail(IDS_CREATE_FILE);
    }

    RenameInsertion insertion = FindRenameInsertion(existing);
    m_offset = static_cast<DWORD>(insertion.offset);
    m_tail = existing.substr(insertion.offset);
    if (insertion.lead.empty()) return true;
    if (!WriteAt(m_offset, insertion.lead)) return Fail(IDS_FILE_WRITE);
    m_offset += static_cast<DWORD>(insertion.lead.size());
    return true;
}

bool PendingRenameFile::Add(const std::string& lines)
{
    if (!WriteAt(m_offset, lines)) return Fail(IDS_FILE_WRITE);
    m_offset += static_cast<DWORD>(lines.size());
    return true;
}

void PendingRenameFile::Close()
{
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}

bool PendingRenameFile::WriteAt(DWORD offset, const std::string& text)
{
    std::string block = text + m_tail;
    if (SetFilePointer(m_file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    DWORD written = 0;
    if (!WriteFile(m_file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr)) return false;
    if (written != block.size()) {
        SetLastError(ERROR_HANDLE_DISK_FULL);
        return false;
    }
    return true;
}

bool PendingRenameFile::Fail(UINT messageId)
{
    DWORD error = GetLastError();
    if (messageId == IDS_FILE_WRITE && m_file != INVALID_HANDLE_VALUE) {
        // Put back what stood after the insertion point, so that a failed write loses nothing.
        WriteAt(m_offset, std::string());
        SetEndOfFile(m_file);
    }
    SetLastError(error);
    ShowSystemErrorMessage(messageId, m_path, MB_ICONHAND);
    Close();
    return false;
}
