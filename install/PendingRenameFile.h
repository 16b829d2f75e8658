// "Wininit.ini" of Windows 95 and 98, open for the whole library step of a run: the lines that
// replace busy libraries at the next start go into its "[rename]" section.
#ifndef INSTALL_PENDINGRENAMEFILE_H
#define INSTALL_PENDINGRENAMEFILE_H

#include <windows.h>

#include <string>

class PendingRenameFile {
public:
    PendingRenameFile() = default;
    ~PendingRenameFile() { Close(); }
    PendingRenameFile(const PendingRenameFile&) = delete;
    PendingRenameFile& operator=(const PendingRenameFile&) = delete;

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    const char* Path() const { return m_path; }

    // Opens (or creates) the file in the Windows folder with no sharing and puts a "[rename]"
    // header in place when it has none. Reports message 140 or 135 and returns false on failure.
    bool Open(const char* windowsFolder);
    // Adds one library's lines after those of this run. Reports message 135 and returns false
    // when the write fails; the file then holds what it held before.
    bool Add(const std::string& lines);
    void Close();

private:
    // Writes `text` followed by the content that stands after the insertion point, at `offset`.
    bool WriteAt(DWORD offset, const std::string& text);
    bool Fail(UINT messageId);

    HANDLE m_file = INVALID_HANDLE_VALUE;
    char m_path[MAX_PATH] = {};
    std::string m_tail;     // what other programs had after our insertion point
    DWORD m_offset = 0;     // where this run's next lines go
};

#endif
