#include "registration/ExtensionList.h"

namespace {

// Opened as text files, these would no longer run: every program, installer, script or shortcut
// of the machine would open in the editor instead. Between blanks, in small letters.
constexpr std::string_view kProgramTypes =
    " exe com bat cmd pif scr cpl msi msp mst msu msc jar application appref-ms gadget"
    " vb vbs vbe js jse wsf wsh wsc ws sct hta ps1 psc1 reg inf ins isp lnk url scf shs shb ";

// The extension that begins at or after `at`, with `at` moved past it; empty at the end of the list.
std::string_view NextExtension(std::string_view list, std::size_t& at)
{
    while (at < list.size() && list[at] == ' ') ++at;
    std::size_t start = at;
    while (at < list.size() && list[at] != ' ') ++at;
    return list.substr(start, at - start);
}

bool IsProgramType(std::string_view extension)
{
    char word[16];
    if (extension.size() > sizeof word - 2) return false;
    std::size_t length = 0;
    word[length++] = ' ';
    for (char c : extension) word[length++] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    word[length++] = ' ';
    return kProgramTypes.find(std::string_view(word, length)) != std::string_view::npos;
}

// A key name takes the backslash as a path; the rest no file name can hold.
bool HoldsForbiddenCharacter(std::string_view extension)
{
    for (char c : extension) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> SplitExtensions(std::string_view list)
{
    std::vector<std::string> extensions;
    std::size_t at = 0;
    for (std::string_view extension; !(extension = NextExtension(list, at)).empty();)
        extensions.emplace_back(extension);
    return extensions;
}

std::string_view FindRefusedExtension(std::string_view list)
{
    std::size_t at = 0;
    for (std::string_view extension; !(extension = NextExtension(list, at)).empty();) {
        if (IsProgramType(extension) || HoldsForbiddenCharacter(extension)) return extension;
    }
    return {};
}
