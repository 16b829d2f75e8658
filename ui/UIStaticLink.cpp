#include "ui/UIStaticLink.h"

#include "res/resource.h"

namespace {

// Only plain left, centred or right text is drawn as a link; icons and frames keep their looks.
bool IsText(DWORD style)
{
    return (style & 0xFF) <= SS_RIGHT;
}

}  // namespace

const CRuntimeClass UIStaticLink::classUIStaticLink = {"UIStaticLink", &CStatic::classCStatic};

COLORREF UIStaticLink::LinkColor = RGB(0, 0, 255);
COLORREF UIStaticLink::VisitedColor = RGB(128, 0, 128);
HCURSOR UIStaticLink::s_handCursor = nullptr;
BOOL UIStaticLink::s_cursorSearched = FALSE;
UIStaticLink::BeepFunction UIStaticLink::s_beep = &::MessageBeep;
UIStaticLink::OpenFunction UIStaticLink::s_open = &::ShellExecuteA;

UIStaticLink::UIStaticLink(LPCSTR url, BOOL deleteOnDestroy)
    : m_url(url), m_textColor(LinkColor), m_deleteOnDestroy(deleteOnDestroy)
{
}

UIStaticLink::~UIStaticLink() = default;   // the members release the font and the address

const MessageMapEntry UIStaticLink::messageEntries[] = {
    {WM_NCHITTEST, 0, 0, MapHandler(&UIStaticLink::OnNcHitTest)},
    {WM_REFLECT_BASE + WM_CTLCOLORSTATIC, 0, 0, MapHandler(&UIStaticLink::CtlColor)},
    {WM_LBUTTONDOWN, 0, 0, MapHandler(&UIStaticLink::OnLButtonDown)},
    {WM_SETCURSOR, 0, 0, MapHandler(&UIStaticLink::OnSetCursor)},
};
const MessageMap UIStaticLink::messageMap = MakeMessageMap(&CStatic::messageMap, messageEntries);

void UIStaticLink::PostNcDestroy()
{
    if (m_deleteOnDestroy) delete this;
}

LRESULT UIStaticLink::OnNcHitTest(WPARAM, LPARAM)
{
    // A static lets the mouse fall through to its parent; the link wants the pointer and the clicks.
    return HTCLIENT;
}

void UIStaticLink::PreSubclassWindow()
{
    if (!IsText(GetStyle())) return;
    // The static draws with the font it is given, whenever it selects it: an underlined copy of
    // its own font (the system font when it has none) becomes that font.
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONTA logFont;
    if (!::GetObjectA(font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT), sizeof logFont, &logFont))
        return;
    logFont.lfUnderline = TRUE;
    if (m_underlineFont.CreateFontIndirect(&logFont))
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_underlineFont.GetSafeHandle()), FALSE);
}

LRESULT UIStaticLink::CtlColor(WPARAM wParam, LPARAM)
{
    if (!IsText(GetStyle())) return 0;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, m_textColor);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

LRESULT UIStaticLink::OnLButtonDown(WPARAM, LPARAM)
{
    if (m_url.IsEmpty()) GetWindowText(m_url);
    if (m_url.IsEmpty()) return 0;

    HINSTANCE result = s_open(nullptr, "open", m_url, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<UINT_PTR>(result) > 32) {
        m_textColor = VisitedColor;
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    } else {
        s_beep(0);
    }
    return 0;
}

LRESULT UIStaticLink::OnSetCursor(WPARAM, LPARAM)
{
    if (!s_handCursor && !s_cursorSearched) {
        s_handCursor = ::LoadCursorA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
        if (!s_handCursor) {
            s_handCursor = FindHandCursor();
            s_cursorSearched = TRUE;
        }
    }
    if (!s_handCursor) return FALSE;
    ::SetCursor(s_handCursor);
    return TRUE;
}

HCURSOR UIStaticLink::FindHandCursor()
{
    // The help viewer of every Windows version carries a pointing hand; borrow a copy of it.
    char path[MAX_PATH] = {};
    UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    if (lstrlenA(path) + lstrlenA("\\winhlp32.exe") >= MAX_PATH) return nullptr;
    lstrcatA(path, "\\winhlp32.exe");

    HMODULE viewer = ::LoadLibraryA(path);
    if (!viewer) return nullptr;
    HCURSOR cursor = ::LoadCursorA(viewer, MAKEINTRESOURCEA(106));
    HCURSOR copy = cursor ? reinterpret_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(cursor))) : nullptr;
    ::FreeLibrary(viewer);
    return copy;
}
