// robot.exe: starts a program, records its windows to a JSON Lines transcript and answers them.
//   robot.exe --timeout SECONDS --transcript FILE (--script FILE | --accept-defaults) [--no-watch] -- PROGRAM [ARGS...]
//   robot.exe --system-message CODE     prints the system's text for an error code, as JSON
//   robot.exe --short-path PATH          prints the system's short form of an existing path, as JSON
//   robot.exe --read-shortcut PATH...    prints what the shell's link object reads from each .lnk, as
//                                        JSON, a line each (null for one it cannot read)
// Exit code: 0 the program ended, 2 timeout, 3 the program could not be started, 1 bad usage (or,
// for the single queries, no answer).
#include "Robot.h"
#include "ShortcutReader.h"

#include <shellapi.h>

#include <cstdlib>

namespace {

struct Options {
    DWORD timeoutSeconds = 0;
    std::wstring transcript;
    std::wstring script;
    bool acceptDefaults = false;
    bool noWatch = false;
    std::vector<std::wstring> command;
    std::wstring systemMessage;
    std::wstring shortPath;
    std::vector<std::wstring> shortcuts;
};

void WriteOut(HANDLE stream, const std::string& text)
{
    DWORD written = 0;
    WriteFile(stream, text.data(), (DWORD)text.size(), &written, nullptr);
}

int Usage(const std::string& problem)
{
    WriteOut(GetStdHandle(STD_ERROR_HANDLE),
             "robot: " + problem +
                 "\nusage: robot.exe --timeout SECONDS --transcript FILE (--script FILE | --accept-defaults)"
                 " [--no-watch] -- PROGRAM [ARGS...]\n       robot.exe --system-message CODE\n       robot.exe --short-path PATH\n"
                 "       robot.exe --read-shortcut PATH...\n");
    return 1;
}

bool ParseOptions(int count, wchar_t** args, Options& options, std::string& problem)
{
    for (int i = 1; i < count; ++i) {
        std::wstring arg = args[i];
        bool hasValue = i + 1 < count;
        if (arg == L"--") {
            options.command.assign(args + i + 1, args + count);
            break;
        } else if (arg == L"--accept-defaults") {
            options.acceptDefaults = true;
        } else if (arg == L"--no-watch") {
            options.noWatch = true;
        } else if (arg == L"--timeout" && hasValue) {
            options.timeoutSeconds = wcstoul(args[++i], nullptr, 10);
        } else if (arg == L"--transcript" && hasValue) {
            options.transcript = args[++i];
        } else if (arg == L"--script" && hasValue) {
            options.script = args[++i];
        } else if (arg == L"--system-message" && hasValue) {
            options.systemMessage = args[++i];
            return true;
        } else if (arg == L"--short-path" && hasValue) {
            options.shortPath = args[++i];
            return true;
        } else if (arg == L"--read-shortcut" && hasValue) {
            options.shortcuts.assign(args + i + 1, args + count);
            return true;
        } else {
            problem = "unexpected argument " + ToUtf8(arg);
            return false;
        }
    }
    if (options.timeoutSeconds == 0) problem = "--timeout must be a positive number of seconds";
    else if (options.transcript.empty()) problem = "--transcript is required";
    else if (options.script.empty() == !options.acceptDefaults) problem = "give either --script or --accept-defaults";
    else if (options.command.empty()) problem = "no program after --";
    return problem.empty();
}

// The quoting rules of CommandLineToArgvW, so the program sees the arguments as given.
std::wstring QuoteArgument(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

int PrintSystemMessage(const std::wstring& codeText)
{
    DWORD code = wcstoul(codeText.c_str(), nullptr, 0);
    wchar_t* text = nullptr;
    // The same request as the setup program's message helper, so the texts compare exactly.
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                      FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text),
                                  0, nullptr);
    if (length == 0) return 1;
    WriteOut(GetStdHandle(STD_OUTPUT_HANDLE), JsonString(ToUtf8(std::wstring(text, length))) + "\n");
    LocalFree(text);
    return 0;
}

int PrintShortPath(const std::wstring& path)
{
    wchar_t shortPath[MAX_PATH] = {};
    DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    WriteOut(GetStdHandle(STD_OUTPUT_HANDLE), JsonString(ToUtf8(shortPath)) + "\n");
    return 0;
}

// Many at once: each start of a program under Wine costs more than the reading.
int PrintShortcuts(const std::vector<std::wstring>& paths)
{
    for (const std::wstring& path : paths) {
        std::string json;
        if (!ReadShortcut(path, json)) json = "null";
        WriteOut(GetStdHandle(STD_OUTPUT_HANDLE), json + "\n");
    }
    return 0;
}

}  // namespace

int main()
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    Options options;
    std::string problem;
    if (!args || !ParseOptions(count, args, options, problem)) return Usage(problem);
    if (!options.systemMessage.empty()) return PrintSystemMessage(options.systemMessage);
    if (!options.shortPath.empty()) return PrintShortPath(options.shortPath);
    if (!options.shortcuts.empty()) return PrintShortcuts(options.shortcuts);

    std::vector<Step> steps;
    if (!options.script.empty() && !LoadScript(options.script, steps, problem)) return Usage(problem);
    Transcript transcript;
    if (!transcript.Open(options.transcript)) return Usage("cannot write " + ToUtf8(options.transcript));

    std::wstring commandLine;
    for (const std::wstring& arg : options.command) commandLine += (commandLine.empty() ? L"" : L" ") + QuoteArgument(arg);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        DWORD error = GetLastError();
        transcript.Write("start", "\"command\":" + JsonString(ToUtf8(commandLine)) +
                                      ",\"error\":" + std::to_string(error));
        return 3;
    }
    CloseHandle(process.hThread);
    transcript.Write("start", "\"command\":" + JsonString(ToUtf8(commandLine)) +
                                  ",\"pid\":" + std::to_string(process.dwProcessId));

    Robot robot(transcript, process.hProcess, process.dwProcessId);
    if (options.noWatch) robot.NoWatch();
    if (options.acceptDefaults) robot.AcceptDefaults();
    else robot.UseScript(steps);
    int result = robot.Run(options.timeoutSeconds * 1000);
    CloseHandle(process.hProcess);
    return result;
}
