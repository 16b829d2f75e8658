#include "app/PathScan.h"

bool IsLeadByteInCodePage(unsigned codePage, unsigned char byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

std::size_t NextCharacter(std::string_view text, std::size_t at, unsigned codePage)
{
    bool pair = IsLeadByteInCodePage(codePage, static_cast<unsigned char>(text[at])) && at + 1 < text.size();
    return at + (pair ? 2 : 1);
}

std::size_t FindCharacter(std::string_view text, char separator, unsigned codePage, std::size_t from)
{
    for (std::size_t at = from; at < text.size(); at = NextCharacter(text, at, codePage))
        if (text[at] == separator) return at;
    return std::string_view::npos;
}

std::size_t LastBackslash(std::string_view path, unsigned codePage)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t at = FindCharacter(path, '\\', codePage); at != std::string_view::npos;
         at = FindCharacter(path, '\\', codePage, at + 1))
        last = at;
    return last;
}

std::size_t FirstFolderLevel(std::string_view path, unsigned codePage)
{
    if (path.substr(0, 2) != "\\\\") return 3;
    std::size_t server = FindCharacter(path, '\\', codePage, 2);
    std::size_t share = server == std::string_view::npos ? server : FindCharacter(path, '\\', codePage, server + 1);
    return share == std::string_view::npos ? share : share + 1;
}
