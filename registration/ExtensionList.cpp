#include "registration/ExtensionList.h"

#include <cstring>

#include "app/PathScan.h"

namespace {

// Opened as text files, these would no longer run: every program, installer, script or shortcut
// of the machine would open in the editor instead. Between blanks, in small letters.
constexpr const char* kProgramTypes =
    " exe com bat cmd pif scr cpl msi msp mst msu msc jar application appref-ms gadget"
    " vb vbs vbe js jse wsf wsh wsc ws sct hta ps1 psc1 reg inf ins isp lnk url scf shs shb ";

}  // namespace

std::string_view NextExtension(std::string_view list, std::size_t& at)
{
    while (at < list.size() && list[at] == ' ') ++at;
    std::size_t start = at;
    while (at < list.size() && list[at] != ' ') ++at;
    return std::string_view(list.data() + start, at - start);
}

std::string_view FindRefusedExtension(std::string_view list, unsigned codePage)
{
    std::size_t at = 0;
    for (std::string_view extension; !(extension = NextExtension(list, at)).empty();) {
        char word[16];  // the extension between blanks and in small letters, as the table holds it
        word[0] = ' ';
        std::size_t length = 1;
        bool singleByte = true;  // no type of the table holds a double-byte character
        for (std::size_t i = 0; i < extension.size(); ++i) {
            char c = extension[i];
            // The second byte of a double-byte character is part of that character.
            if (IsLeadByteInCodePage(codePage, static_cast<unsigned char>(c)) && i + 1 < extension.size()) {
                ++i;
                singleByte = false;
                continue;
            }
            // A key name takes the backslash for a path; the rest no file name can hold.
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || std::memchr("\\/:*?\"<>|", c, 9))
                return extension;
            if (length < sizeof word - 2) word[length++] = c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
        }
        word[length] = ' ';
        word[length + 1] = '\0';
        // A longer extension was cut short in the word, and no type of the table is that long.
        if (singleByte && extension.size() < sizeof word - 2 && std::strstr(kProgramTypes, word)) return extension;
    }
    return {};
}
