#include "LinkTestSupport.h"

namespace linktest {

namespace {
ShellRecorder* g_recorder = nullptr;
}

ShellRecorder::ShellRecorder(bool passOn, UINT_PTR fakeResult)
    : m_passOn(passOn), m_fakeResult(fakeResult), m_savedOpen(UIStaticLink::s_open), m_savedBeep(UIStaticLink::s_beep)
{
    g_recorder = this;
    UIStaticLink::s_open = &ShellRecorder::Open;
    UIStaticLink::s_beep = &ShellRecorder::Beep;
}

ShellRecorder::~ShellRecorder()
{
    UIStaticLink::s_open = m_savedOpen;
    UIStaticLink::s_beep = m_savedBeep;
    g_recorder = nullptr;
}

HINSTANCE WINAPI ShellRecorder::Open(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    UINT_PTR result = g_recorder->m_fakeResult;
    if (g_recorder->m_passOn)
        result = reinterpret_cast<UINT_PTR>(ShellExecuteA(owner, verb, file, parameters, directory, show));
    g_recorder->opens.push_back(
        {owner, verb ? verb : "(null)", file ? file : "(null)", parameters == nullptr, directory == nullptr, show, result});
    return reinterpret_cast<HINSTANCE>(result);
}

BOOL WINAPI ShellRecorder::Beep(UINT type)
{
    if (type == 0) ++g_recorder->beeps;
    return TRUE;
}

int CountTextPixels(HWND control, COLORREF colour)
{
    RECT client;
    GetClientRect(control, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    FillRect(memory, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (GetPixel(memory, x, y) == colour) ++count;
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return count;
}

}  // namespace linktest
