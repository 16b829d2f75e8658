// The folder of a search path fuzz input: its first line, when that is a usable folder name
// (no ";", line break, zero byte or end-of-file mark, no surrounding blanks, not beginning with
// "=", more than a lone backslash, which names no folder once its trailing backslash is dropped);
// the rest of the input is the text to edit.
#ifndef TESTS_FUZZ_FUZZFOLDER_H
#define TESTS_FUZZ_FUZZFOLDER_H

#include <cstdlib>
#include <string_view>

inline bool SplitFolder(std::string_view input, std::string_view& folder, std::string_view& text)
{
    std::size_t newline = input.find('\n');
    if (newline == std::string_view::npos) return false;
    folder = input.substr(0, newline);
    text = input.substr(newline + 1);
    if (folder.empty() || folder.find_first_of(";\r\n\x1A", 0) != std::string_view::npos) return false;
    if (folder.find('\0') != std::string_view::npos || folder == "\\") return false;
    const char first = folder.front(), last = folder.back();
    return first != ' ' && first != '\t' && first != '=' && last != ' ' && last != '\t';
}

inline void Check(bool condition)
{
    if (!condition) std::abort();
}

#endif
