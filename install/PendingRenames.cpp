#include "install/PendingRenames.h"

namespace {

const char kHeader[] = "[rename]";
const char kLineEnd[] = "\r\n";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The line's text without its leading and trailing blanks and its line end.
std::string_view Trimmed(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || IsBlank(line.back())))
        line.remove_suffix(1);
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    return line;
}

bool IsRenameHeader(std::string_view line)
{
    std::string_view text = Trimmed(line);
    if (text.size() != sizeof kHeader - 1) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (LowerAscii(text[i]) != kHeader[i]) return false;
    return true;
}

bool IsSectionHeader(std::string_view line)
{
    std::string_view text = Trimmed(line);
    return !text.empty() && text.front() == '[';
}

bool EndsWithLineEnd(std::string_view text)
{
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

}  // namespace

std::string RenameLines(std::string_view installed, std::string_view temporary)
{
    std::string lines = "NUL=";
    lines.append(installed).append(kLineEnd);
    lines.append(installed).append("=").append(temporary).append(kLineEnd);
    return lines;
}

RenameInsertion FindRenameInsertion(std::string_view existing)
{
    bool inSection = false;
    std::size_t sectionEnd = 0;  // just after the last line of the section that holds anything
    for (std::size_t start = 0; start < existing.size();) {
        std::size_t newline = existing.find('\n', start);
        std::size_t next = newline == std::string_view::npos ? existing.size() : newline + 1;
        std::string_view line = existing.substr(start, next - start);
        if (inSection && IsSectionHeader(line)) break;
        if (!inSection && IsRenameHeader(line)) {
            inSection = true;
            sectionEnd = next;
        } else if (inSection && !Trimmed(line).empty()) {
            sectionEnd = next;
        }
        start = next;
    }

    RenameInsertion insertion;
    if (inSection) {
        insertion.offset = sectionEnd;
        if (!EndsWithLineEnd(existing.substr(0, sectionEnd))) insertion.lead = kLineEnd;
        return insertion;
    }
    insertion.offset = existing.size();
    if (!existing.empty() && !EndsWithLineEnd(existing)) insertion.lead = kLineEnd;
    insertion.lead.append(kHeader).append(kLineEnd);
    return insertion;
}

std::string MergeRenameLines(std::string_view existing, std::string_view lines)
{
    RenameInsertion insertion = FindRenameInsertion(existing);
    std::string merged(existing.substr(0, insertion.offset));
    merged.append(insertion.lead).append(lines).append(existing.substr(insertion.offset));
    return merged;
}
