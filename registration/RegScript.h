// The settings script "Lexaver.reg": registry export text walked line by line into value writes
// below HKEY_CURRENT_USER. Text in, writes out; no registry access here.
#ifndef REGISTRATION_REGSCRIPT_H
#define REGISTRATION_REGSCRIPT_H

#include <cstdint>
#include <functional>
#include <string_view>

enum class RegScriptValueKind { String, DoubleWord };

// One value line of the script. The views point into the script text.
struct RegScriptWrite {
    std::string_view key;      // the current key path, below HKEY_CURRENT_USER
    std::string_view name;     // empty for the key's default value
    RegScriptValueKind kind = RegScriptValueKind::String;
    std::string_view text;     // String: the text, to be written with its terminating zero
    std::uint32_t number = 0;  // DoubleWord
};

// Calls `write` for each value line in script order; the walk stops where `write` returns false
// or at the first zero byte. Returns the number of writes that succeeded.
int WalkRegScript(std::string_view script, const std::function<bool(const RegScriptWrite&)>& write);

#endif
