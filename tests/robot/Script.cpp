#include "Script.h"

#include "Transcript.h"

#include <cstdlib>

namespace {

std::string Trim(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

bool ReadFileBytes(const std::wstring& fileName, std::string& bytes)
{
    HANDLE file = CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    bytes.assign(size, '\0');
    DWORD read = 0;
    BOOL ok = size == 0 || ReadFile(file, &bytes[0], size, &read, nullptr);
    CloseHandle(file);
    return ok && read == size;
}

}  // namespace

bool ParseStep(const std::string& line, Step& step, std::string& error)
{
    // Captions may hold "|"; actions and Windows paths never do.
    size_t bar = line.rfind('|');
    if (bar == std::string::npos) {
        error = "expected PATTERN | ACTION";
        return false;
    }
    step.pattern = Trim(line.substr(0, bar));
    step.action = Trim(line.substr(bar + 1));
    if (!step.pattern.empty() && step.pattern[0] == '?') {
        step.optional = true;
        step.pattern = Trim(step.pattern.substr(1));
    }
    if (step.pattern.empty()) {
        error = "empty pattern";
        return false;
    }
    std::string verb = step.action.substr(0, step.action.find(' '));
    std::string argument = step.action.size() > verb.size() ? Trim(step.action.substr(verb.size())) : "";
    if (verb == "text") {
        // "text ID WORDS...": the rest of the line, blanks inside kept, is the control's new text.
        size_t blank = argument.find(' ');
        char* end = nullptr;
        long id = strtol(argument.substr(0, blank).c_str(), &end, 10);
        if (argument.empty() || *end != '\0') {
            error = "text needs a control id";
            return false;
        }
        step.kind = ActionKind::Text;
        step.controlId = (int)id;
        size_t start = step.action.find(' ', step.action.find(' ') + 1);
        step.path = start == std::string::npos ? std::string() : step.action.substr(start + 1);
        // Quotation marks around the text keep its leading and trailing blanks.
        if (step.path.size() >= 2 && step.path.front() == '"' && step.path.back() == '"')
            step.path = step.path.substr(1, step.path.size() - 2);
        return true;
    }
    if (verb == "colours") {
        // An optional colour to wait for: "colours ID [RRGGBB]".
        size_t blank = argument.find(' ');
        if (blank != std::string::npos) {
            step.colour = Trim(argument.substr(blank + 1));
            argument = argument.substr(0, blank);
            bool hex = step.colour.size() == 6 && step.colour.find_first_not_of("0123456789abcdef") == std::string::npos;
            if (!hex) {
                error = "colours waits for a colour written rrggbb in lower case";
                return false;
            }
        }
    }
    if (verb == "click" || verb == "press" || verb == "mouse" || verb == "colours") {
        char* end = nullptr;
        long id = strtol(argument.c_str(), &end, 10);
        if (argument.empty() || *end != '\0') {
            error = verb + " needs a control id";
            return false;
        }
        step.kind = verb == "click"   ? ActionKind::Click
                    : verb == "press" ? ActionKind::Press
                    : verb == "mouse" ? ActionKind::Mouse
                                      : ActionKind::Colours;
        step.controlId = (int)id;
    } else if (verb == "await") {
        // "await FILE [MS]": a number after the file is the time the window must stay unchanged.
        size_t blank = argument.rfind(' ');
        std::string last = blank == std::string::npos ? "" : argument.substr(blank + 1);
        step.steadyMs = 300;
        if (!last.empty() && last.find_first_not_of("0123456789") == std::string::npos) {
            step.steadyMs = atoi(last.c_str());
            argument = Trim(argument.substr(0, blank));
        }
        if (argument.empty()) {
            error = "await needs a file";
            return false;
        }
        step.kind = ActionKind::Await;
        step.path = argument;
    } else if (verb == "choose") {
        if (argument.empty()) {
            error = "choose needs a path";
            return false;
        }
        step.kind = ActionKind::Choose;
        step.path = argument;
    } else if (!argument.empty()) {
        error = "unexpected text after " + verb;
        return false;
    } else if (verb == "dismiss") {
        step.kind = ActionKind::Dismiss;
    } else if (verb == "enter") {
        step.kind = ActionKind::Enter;
    } else if (verb == "esc") {
        step.kind = ActionKind::Esc;
    } else if (verb == "altf4") {
        step.kind = ActionKind::AltF4;
    } else if (verb == "close") {
        step.kind = ActionKind::Close;
    } else if (verb == "none") {
        step.kind = ActionKind::None;
    } else {
        error = "unknown action '" + verb + "'";
        return false;
    }
    return true;
}

bool LoadScript(const std::wstring& fileName, std::vector<Step>& steps, std::string& error)
{
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes)) {
        error = "cannot read the script " + ToUtf8(fileName);
        return false;
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    size_t start = 0;
    for (int number = 1; start <= bytes.size(); ++number) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = Trim(bytes.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        Step step;
        step.line = number;
        std::string problem;
        if (!ParseStep(line, step, problem)) {
            error = "script line " + std::to_string(number) + ": " + problem;
            return false;
        }
        steps.push_back(step);
    }
    return true;
}

bool StepMatches(const Step& step, const WindowState& window)
{
    if (step.pattern == "@browser") return IsFolderBrowser(window);
    if (step.pattern == "@messagebox") return IsMessageBox(window);
    // The last window of a run: a message box, or the dialog that offers the restart.
    if (step.pattern == "@closing") return IsMessageBox(window) || (IsDialog(window) && FindControl(window, 1030));
    if (step.pattern == "*") return IsDialog(window);
    return window.caption == step.pattern;
}
