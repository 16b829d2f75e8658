#include "registration/ExtensionList.h"

std::vector<std::string> SplitExtensions(std::string_view list)
{
    std::vector<std::string> extensions;
    std::size_t at = 0;
    while (at < list.size()) {
        if (list[at] == ' ') {
            ++at;
            continue;
        }
        std::size_t end = list.find(' ', at);
        if (end == std::string_view::npos) end = list.size();
        extensions.emplace_back(list.substr(at, end - at));
        at = end;
    }
    return extensions;
}
