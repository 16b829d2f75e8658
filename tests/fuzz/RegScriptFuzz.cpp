// libFuzzer target: the settings script walk on any bytes. Every view it hands out lies inside
// the text and inside one line; the walk ends however the text ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "registration/RegScript.h"

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

void CheckWithinOneLine(std::string_view part, const char* begin, const char* end)
{
    Check(part.empty() || (part.data() >= begin && part.data() + part.size() <= end));
    Check(part.find('\n') == std::string_view::npos);
    Check(part.find('\0') == std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* begin = reinterpret_cast<const char*>(data);
    std::string_view script(begin, size);
    // The first byte, when odd, makes the third write fail: the stop path is walked too.
    const bool failThird = size > 0 && (data[0] & 1);
    int calls = 0;
    // The second bit chooses a double-byte code page, whose trail bytes may look like "\" or "]".
    const unsigned codePage = size > 0 && (data[0] & 2) ? 932 : 1252;
    int written = WalkRegScript(script, codePage, [&](const RegScriptWrite& w) {
        CheckWithinOneLine(w.key, begin, begin + size);
        CheckWithinOneLine(w.name, begin, begin + size);
        CheckWithinOneLine(w.text, begin, begin + size);
        Check(w.text.find('"') == std::string_view::npos);
        return !(failThird && ++calls == 3);
    });
    Check(written >= 0 && written <= static_cast<int>(size));
    return 0;
}
