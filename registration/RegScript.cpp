#include "registration/RegScript.h"

#include "app/HexDigits.h"
#include "app/PathScan.h"

namespace {

const std::size_t kNone = std::string_view::npos;
const std::size_t kDoubleWordLead = 6;   // "dword:" as registry export files write it
const std::size_t kDoubleWordDigits = 8;

// The key path of a key line: after the first "\" up to the first "]"; false when the line has
// no such path. Both are looked for character by character: in a double-byte code page either may
// be the second byte of a key name's character.
bool KeyPathOf(std::string_view line, unsigned codePage, std::string_view& key)
{
    std::size_t backslash = FindCharacter(line, '\\', codePage);
    std::size_t bracket = FindCharacter(line, ']', codePage);
    if (backslash == kNone || bracket == kNone || bracket < backslash) return false;
    key = line.substr(backslash + 1, bracket - backslash - 1);
    return true;
}

// Fills name and value from a value line; false for a line that does not hold one whole.
bool ReadValueLine(std::string_view line, RegScriptWrite& write)
{
    std::size_t nameEnd = line.find('"', 1);
    if (nameEnd == kNone) return false;
    write.name = line.substr(1, nameEnd - 1);
    std::size_t value = nameEnd + 2;  // one separator, normally "=", is passed over unread
    if (value >= line.size()) return false;

    if (line[value] == '"') {
        std::size_t textEnd = line.find('"', value + 1);
        if (textEnd == kNone) return false;
        write.kind = RegScriptValueKind::String;
        write.text = line.substr(value + 1, textEnd - value - 1);
        return true;
    }
    if (line[value] == 'd') {
        std::size_t digits = value + kDoubleWordLead;
        if (digits + kDoubleWordDigits > line.size()) return false;
        unsigned char bytes[kDoubleWordDigits / 2 + 1];
        HexToBytes(line.data() + digits, kDoubleWordDigits, bytes);
        write.kind = RegScriptValueKind::DoubleWord;
        write.number = static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
                       static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
        return true;
    }
    return false;  // a list of hexadecimal bytes, or anything else
}

}  // namespace

int WalkRegScript(std::string_view script, unsigned codePage, RegScriptWriter write)
{
    std::size_t zero = script.find('\0');
    if (zero != kNone) script = script.substr(0, zero);

    int written = 0;
    bool haveKey = false;
    std::string_view key;
    for (std::size_t start = 0; start < script.size();) {
        std::size_t end = script.find('\n', start);
        std::size_t next = end == kNone ? script.size() : end + 1;
        std::string_view line = script.substr(start, (end == kNone ? script.size() : end) - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = next;
        if (line.empty()) continue;

        if (line.front() == '[') {
            // A key line without its path leaves no key: its values must not land under the last one.
            haveKey = KeyPathOf(line, codePage, key);
        } else if (line.front() == '"' && haveKey) {
            RegScriptWrite value;
            value.key = key;
            if (!ReadValueLine(line, value)) continue;
            if (!write(value)) break;
            ++written;
        }
    }
    return written;
}
