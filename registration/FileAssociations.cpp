#include "registration/FileAssociations.h"

#include <new>
#include <string>

#include "app/PathCompose.h"
#include "registration/ExtensionList.h"
#include "registration/FileTypesDlg.h"
#include "registration/Registry.h"

namespace {

const char kTextFileType[] = "txtfile";

// Longest extension whose key name, a point and the extension, fits MAX_PATH with its terminator.
const std::size_t kLongestExtension = MAX_PATH - 2;

void WriteDefaultValue(const char* keyPath, const std::string& data)
{
    WriteRegString(HKEY_CLASSES_ROOT, keyPath, "", REG_SZ, data.c_str());
}

void WriteAssociations(const char* folder, std::string_view extensions)
{
    char editor[kPathBufferSize];
    ComposePath(editor, folder, "Lexaver.exe");
    const std::string program(editor);
    WriteDefaultValue("txtfile\\DefaultIcon", program + ",0");
    // Quoted: the shell would otherwise take "C:\Program" for the program of a folder with blanks.
    WriteDefaultValue("txtfile\\shell\\open\\command", "\"" + program + "\" \"%1\"");
    WriteDefaultValue("txtfile\\shell\\print\\command", "\"" + program + "\" /p \"%1\"");

    for (const std::string& extension : SplitExtensions(extensions)) {
        // One too long is a write that fails, never a key for a shorter extension.
        if (extension.size() > kLongestExtension) continue;
        WriteDefaultValue(("." + extension).c_str(), kTextFileType);
    }
}

}  // namespace

void WriteTextFileAssociations(const char* folder, std::string_view extensions)
{
    try {
        WriteAssociations(folder, extensions);
    } catch (const std::bad_alloc&) {
        // Like a failed write: the keys not yet written are left out, silently.
    }
}

void AssociateTextFiles(const RunState& state)
{
    CFileTypesDlg dialog(nullptr);
    if (dialog.DoModal() != IDOK) return;
    WriteTextFileAssociations(state.destination, static_cast<const char*>(dialog.m_types));
}
