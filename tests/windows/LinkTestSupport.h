// What the link tests share: the link's shell and beep calls recorded, and its text's colours counted.
#ifndef TESTS_LINKTESTSUPPORT_H
#define TESTS_LINKTESTSUPPORT_H

#include <windows.h>

#include <string>
#include <vector>

#include "ui/UIStaticLink.h"

namespace linktest {

const char kDownloadAddress[] = "http://lexaver.example/dlls.zip";
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kPurple = RGB(128, 0, 128);

struct OpenCall {
    HWND owner;
    std::string verb;
    std::string file;
    bool noParameters;
    bool noDirectory;
    INT show;
    UINT_PTR result;
};

// Replaces the link's shell open and beep while it lives. An open is passed on to the real
// ShellExecuteA only when a test asks for it: a web address would start a browser.
class ShellRecorder {
public:
    explicit ShellRecorder(bool passOn = false, UINT_PTR fakeResult = 33);
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<OpenCall> opens;
    int beeps = 0;

private:
    static HINSTANCE WINAPI Open(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
    static BOOL WINAPI Beep(UINT type);

    bool m_passOn;
    UINT_PTR m_fakeResult;
    UIStaticLink::OpenFunction m_savedOpen;
    UIStaticLink::BeepFunction m_savedBeep;
};

// Paints the static into a white bitmap through WM_PRINTCLIENT, as its parent colours it, and
// counts the pixels of one colour.
int CountTextPixels(HWND control, COLORREF colour);

}  // namespace linktest

#endif
