// The settings script "Lexaver.reg": registry export text walked line by line into value writes
// below HKEY_CURRENT_USER. Text in, writes out; no registry access here.
#ifndef REGISTRATION_REGSCRIPT_H
#define REGISTRATION_REGSCRIPT_H

#include <cstdint>
#include <string_view>
#include <type_traits>

enum class RegScriptValueKind { String, DoubleWord };

// One value line of the script. The views point into the script text.
struct RegScriptWrite {
    std::string_view key;      // the current key path, below HKEY_CURRENT_USER
    std::string_view name;     // empty for the key's default value
    RegScriptValueKind kind = RegScriptValueKind::String;
    std::string_view text;     // String: the text, to be written with its terminating zero
    std::uint32_t number = 0;  // DoubleWord
};

// Whatever the walk calls for each value, borrowed for the length of the walk: a function or a
// lambda, called through one plain pointer instead of a copied, type-erased function object.
class RegScriptWriter {
public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, RegScriptWriter>>>
    RegScriptWriter(F&& write)
        : m_write(const_cast<void*>(static_cast<const void*>(&write))),
          m_call([](void* f, const RegScriptWrite& w) -> bool {
              return (*static_cast<std::remove_reference_t<F>*>(f))(w);
          })
    {
    }

    bool operator()(const RegScriptWrite& w) const { return m_call(m_write, w); }

private:
    void* m_write;
    bool (*m_call)(void*, const RegScriptWrite&);
};

// Calls `write` for each value line in script order; the walk stops where `write` returns false
// or at the first zero byte. The script is text of the ANSI code page `codePage`. Returns the
// number of writes that succeeded.
int WalkRegScript(std::string_view script, unsigned codePage, RegScriptWriter write);

#endif
