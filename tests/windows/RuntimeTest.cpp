// The program's own entry point, exit handlers and C functions, in a program linked as Install.exe
// is: no C runtime, the same start-up code, the same framework. Its last line, written by the last
// exit handler of its own, is "runtime: N passed, 0 failed" only when every check passed and the
// exit handlers ran last registered first.
#include <afxwin.h>

#include <climits>
#include <cstring>
#include <utility>

extern "C" int __cdecl atexit(void(__cdecl* function)());

namespace {

int g_passed = 0;
int g_failed = 0;

void Write(const char* text)
{
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
}

void Check(bool passed, const char* what)
{
    if (passed) {
        ++g_passed;
        return;
    }
    ++g_failed;
    Write("FAIL: ");
    Write(what);
    Write("\n");
}

void CheckMemoryFunctions()
{
    char block[] = "0123456789";
    memmove(block + 2, block, 6);  // overlapping, to a higher address
    Check(std::strcmp(block, "0101234589") == 0, "memmove forwards over itself");
    char other[] = "0123456789";
    memmove(other, other + 3, 6);  // overlapping, to a lower address
    Check(std::strcmp(other, "3456786789") == 0, "memmove backwards over itself");
    char untouched[] = "abc";
    memmove(untouched, "xyz", 0);
    memcpy(untouched, "xyz", 0);
    memset(untouched, 'x', 0);
    Check(std::strcmp(untouched, "abc") == 0, "zero counts leave the target alone");
    Check(memchr("abc", 'a', 0) == nullptr, "memchr of zero bytes finds nothing");
    const char high[] = "a\xFF";
    Check(memchr(high, -1, 2) == high + 1, "memchr takes its value as an unsigned char");
    Check(memcmp("\x80", "\x7F", 1) > 0 && memcmp("\x7F", "\x80", 1) < 0, "memcmp compares bytes as unsigned");
    Check(memcmp("same", "same", 4) == 0 && memcmp("ab", "xy", 0) == 0, "memcmp of equal or no bytes");
    void* empty = malloc(0);
    Check(empty != nullptr, "malloc(0) gives a block");
    free(empty);
    free(nullptr);
}

void CheckStringFunctions()
{
    Check(std::strlen("") == 0 && std::strlen("abc") == 3, "strlen");
    Check(std::strcmp("\xE9", "z") > 0 && std::strcmp("z", "\xE9") < 0, "strcmp compares bytes as unsigned");
    Check(std::strcmp("ab", "abc") < 0 && std::strcmp("abc", "ab") > 0 && std::strcmp("", "") == 0,
          "strcmp of a text and its beginning");
    const char text[] = "aaab";
    Check(std::strstr(text, "aab") == text + 1, "strstr after a partial match");
    Check(std::strstr(text, "b") == text + 3, "strstr at the end");
    Check(std::strstr(text, "") == text && std::strstr("", "") != nullptr, "strstr of an empty needle");
    Check(std::strstr(text, "aaaab") == nullptr && std::strstr("", "a") == nullptr, "strstr of a missing needle");
}

void CheckFormatting()
{
    CString text;
    text.Format("%d %d %u %u %d%%", INT_MIN, INT_MAX, 0u, UINT_MAX, 0);
    Check(std::strcmp(text, "-2147483648 2147483647 0 4294967295 0%") == 0, "the smallest and largest integers");
}

// The exit handlers record the order they ran in; the check registered first runs after them.
const int kMostHandlers = 64;
int g_accepted = 0;
int g_ran[kMostHandlers];
int g_ranCount = 0;

template <int N>
void __cdecl Handler()
{
    if (g_ranCount < kMostHandlers) g_ran[g_ranCount] = N;
    ++g_ranCount;
}

void __cdecl CheckExitHandlers()
{
    bool reversed = g_ranCount == g_accepted;
    for (int i = 0; reversed && i < g_ranCount; ++i) reversed = g_ran[i] == g_accepted - 1 - i;
    Check(reversed, "every exit handler accepted ran, last registered first");
    if (g_failed) return;
    char line[64];
    wsprintfA(line, "runtime: %d passed, 0 failed\n", g_passed);
    Write(line);
}

template <int... N>
void RegisterExitHandlers(std::integer_sequence<int, N...>)
{
    Check(atexit(&CheckExitHandlers) == 0, "atexit accepts a handler");
    // The table is fixed: a registration past its end is refused with an error, never dropped.
    void (*handlers[])() = {&Handler<N>...};
    int refused = -1;
    for (int i = 0; i < kMostHandlers && refused < 0; ++i) {
        if (atexit(handlers[i]) == 0)
            ++g_accepted;
        else
            refused = i;
    }
    Check(refused > 0, "atexit refuses a registration past its table's end");
}

class RuntimeTestApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CheckMemoryFunctions();
        CheckStringFunctions();
        CheckFormatting();
        RegisterExitHandlers(std::make_integer_sequence<int, kMostHandlers>());
        return FALSE;
    }
};

RuntimeTestApp theApp;

}  // namespace
