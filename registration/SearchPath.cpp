#include "registration/SearchPath.h"

#include "app/CaseFolding.h"
#include "app/PathScan.h"

namespace {

const std::size_t kNone = std::string_view::npos;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// An entry or folder as compared: no surrounding blanks, no trailing backslash.
std::string_view Comparable(std::string_view entry, unsigned codePage)
{
    entry = TrimBlanks(entry);
    // A backslash character, not the second byte of a double-byte one.
    if (!entry.empty() && LastBackslash(entry, codePage) == entry.size() - 1) entry.remove_suffix(1);
    return entry;
}

bool SameFolded(std::string_view a, std::string_view b, unsigned codePage)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCaseInCodePage(codePage, static_cast<unsigned char>(a[i])) !=
            FoldCaseInCodePage(codePage, static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool StartsWithWord(std::string_view text, std::size_t at, const char* word)
{
    for (std::size_t i = 0; word[i]; ++i) {
        if (at + i >= text.size()) return false;
        char c = text[at + i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i]) return false;
    }
    return true;
}

std::size_t SkipBlanks(std::string_view text, std::size_t at, std::size_t end)
{
    while (at < end && IsBlank(text[at])) ++at;
    return at;
}

// Where the entries of a statement line begin, or kNone when the line is no PATH statement.
std::size_t EntriesOfStatement(std::string_view text, std::size_t start, std::size_t end)
{
    std::size_t at = SkipBlanks(text, start, end);
    if (at < end && text[at] == '@') ++at;
    if (StartsWithWord(text, at, "PATH")) {
        std::size_t after = at + 4;
        if (after < end && (text[after] == '=' || IsBlank(text[after]))) return after + 1;
        return kNone;
    }
    if (!StartsWithWord(text, at, "SET")) return kNone;
    std::size_t name = SkipBlanks(text, at + 3, end);
    if (name == at + 3 || !StartsWithWord(text, name, "PATH")) return kNone;
    std::size_t equals = SkipBlanks(text, name + 4, end);
    return equals < end && text[equals] == '=' ? equals + 1 : kNone;
}

}  // namespace

bool SearchPathHoldsFolder(std::string_view entries, std::string_view folder, unsigned codePage)
{
    std::string_view wanted = Comparable(folder, codePage);
    for (std::size_t start = 0; start <= entries.size();) {
        std::size_t semicolon = entries.find(';', start);
        std::size_t end = semicolon == kNone ? entries.size() : semicolon;
        std::string_view raw = TrimBlanks(entries.substr(start, end - start));
        // The first entry of "PATH = X" begins with the "=" that DOS takes as a separator.
        if (start == 0 && !raw.empty() && raw.front() == '=') raw.remove_prefix(1);
        std::string_view entry = Comparable(raw, codePage);
        if (!entry.empty() && SameFolded(entry, wanted, codePage)) return true;
        start = end + 1;
    }
    return false;
}

std::optional<std::string> AddToPathValue(std::string_view value, std::string_view folder, unsigned codePage)
{
    if (SearchPathHoldsFolder(value, folder, codePage)) return std::nullopt;
    if (!value.empty() && value.back() == ';') value.remove_suffix(1);
    std::string extended(value);
    if (!extended.empty()) extended.append(";");
    extended.append(folder);
    return extended;
}

std::optional<PathStatement> FindPathStatement(std::string_view text)
{
    for (std::size_t start = 0; start < text.size();) {
        std::size_t newline = text.find('\n', start);
        std::size_t end = newline == kNone ? text.size() : newline;
        if (end > start && text[end - 1] == '\r') --end;  // CR LF, or a lone LF, ends the line
        std::size_t entries = EntriesOfStatement(text, start, end);
        if (entries != kNone) return PathStatement{start, entries, end};
        start = newline == kNone ? text.size() : newline + 1;
    }
    return std::nullopt;
}

std::optional<std::string> AddToStatement(std::string_view autoexec, std::string_view folder, unsigned codePage)
{
    std::optional<PathStatement> statement = FindPathStatement(autoexec);
    if (!statement) {
        // The system sets a search path before the file runs: extend it, do not replace it.
        std::string text = "set PATH=%PATH%;";
        text.append(folder).append("\r\n").append(autoexec);
        return text;
    }
    std::size_t end = statement->lineEnd;
    // Nothing after an end-of-file mark is read: on the last line the folder goes before it.
    if (end == autoexec.size())
        while (end > statement->entriesStart && autoexec[end - 1] == '\x1A') --end;
    std::string_view entries = autoexec.substr(statement->entriesStart, end - statement->entriesStart);
    if (SearchPathHoldsFolder(entries, folder, codePage)) return std::nullopt;

    std::string text(autoexec.substr(0, end));
    std::string_view before = TrimBlanks(entries);
    // No separator before the first entry, nor after one that the line already ends with.
    if (!before.empty() && before != "=" && before.back() != ';') text += ';';
    text.append(folder).append(autoexec.substr(end));
    return text;
}
