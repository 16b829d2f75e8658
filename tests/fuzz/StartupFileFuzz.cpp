// libFuzzer target: the PATH statement edit of a startup file. The edit only inserts (the
// folder, with a ";" or as a new first line), never loses a byte (zero bytes included), and a
// second edit finds the folder there.
#include <cstdint>
#include <string>

#include "registration/SearchPath.h"
#include "tests/fuzz/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view folder, text;
    if (!SplitFolder(std::string_view(reinterpret_cast<const char*>(data), size), folder, text)) return 0;
    std::optional<std::string> edited = AddToStatement(text, folder, 1252);
    if (!edited) {
        Check(FindPathStatement(text).has_value());
        return 0;
    }
    const std::string top = "set PATH=%PATH%;" + std::string(folder) + "\r\n";
    if (edited->compare(0, top.size(), top) == 0 && edited->size() == top.size() + text.size()) {
        Check(edited->substr(top.size()) == text);
    } else {
        // Extended in place: the old text with ";"+folder or folder inserted at one point.
        std::size_t at = 0;
        while (at < text.size() && (*edited)[at] == text[at]) ++at;
        std::size_t inserted = edited->size() - text.size();
        Check(inserted == folder.size() || inserted == folder.size() + 1);
        Check(edited->compare(at + inserted, std::string::npos, text.substr(at)) == 0);
    }
    Check(!AddToStatement(*edited, folder, 1252).has_value());
    return 0;
}
