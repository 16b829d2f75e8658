// libFuzzer target: the NT "Path" value edit. The old value stays whole (less one trailing ";"),
// the folder is appended once (after a ";" unless nothing is left before it), and a second edit
// finds it there.
#include <cstdint>
#include <string>

#include "registration/SearchPath.h"
#include "tests/fuzz/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view folder, value;
    if (!SplitFolder(std::string_view(reinterpret_cast<const char*>(data), size), folder, value)) return 0;
    const unsigned codePage = size % 2 ? 1251 : 1252;
    std::optional<std::string> edited = AddToPathValue(value, folder, codePage);
    if (!edited) {
        Check(SearchPathHoldsFolder(value, folder, codePage));
        return 0;
    }
    std::string_view kept = value;
    if (!kept.empty() && kept.back() == ';') kept.remove_suffix(1);
    Check(*edited == std::string(kept) + (kept.empty() ? "" : ";") + std::string(folder));
    Check(!AddToPathValue(*edited, folder, codePage).has_value());
    return 0;
}
