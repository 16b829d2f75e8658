#include "registration/FileAssociations.h"

#include <cstring>

#include "app/PathCompose.h"
#include "registration/ExtensionList.h"
#include "registration/FileTypesDlg.h"
#include "registration/Registry.h"

namespace {

// Longest extension whose key name, a point and the extension, fits MAX_PATH with its terminator.
const std::size_t kLongestExtension = MAX_PATH - 2;

void WriteDefaultValue(const char* keyPath, const char* data)
{
    WriteRegString(HKEY_CLASSES_ROOT, keyPath, "", REG_SZ, data);
}

}  // namespace

void WriteTextFileAssociations(const char* folder, std::string_view extensions)
{
    char program[kPathBufferSize];
    ComposePath(program, folder, "Lexaver.exe");
    char value[kPathBufferSize + 16];
    wsprintfA(value, "%s,0", program);
    WriteDefaultValue("txtfile\\DefaultIcon", value);
    // Quoted: the shell would otherwise take "C:\Program" for the program of a folder with blanks.
    wsprintfA(value, "\"%s\" \"%%1\"", program);
    WriteDefaultValue("txtfile\\shell\\open\\command", value);
    wsprintfA(value, "\"%s\" /p \"%%1\"", program);
    WriteDefaultValue("txtfile\\shell\\print\\command", value);

    std::size_t at = 0;
    for (std::string_view extension; !(extension = NextExtension(extensions, at)).empty();) {
        // One too long is a write that fails, never a key for a shorter extension.
        if (extension.size() > kLongestExtension) continue;
        char keyName[kPathBufferSize];
        keyName[0] = '.';
        std::memcpy(keyName + 1, extension.data(), extension.size());
        keyName[extension.size() + 1] = '\0';
        WriteDefaultValue(keyName, "txtfile");
    }
}

void AssociateTextFiles(const RunState& state)
{
    CFileTypesDlg dialog(nullptr);
    if (dialog.DoModal() != IDOK) return;
    WriteTextFileAssociations(state.destination, static_cast<const char*>(dialog.m_types));
}
