#include "CWnd.h"

namespace {

// The window property that leads from a window to its object.
const char kObjectProperty[] = "Install.CWnd";

}  // namespace

const CRuntimeClass CWnd::classCWnd = {"CWnd", &CCmdTarget::classCCmdTarget};

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // An object destroyed before its window: stop routing messages to freed memory.
        if (m_pfnSuper) UnsubclassWindow();
        else Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    return hwnd ? static_cast<CWnd*>(::GetPropA(hwnd, kObjectProperty)) : nullptr;
}

CWnd* CWnd::GetSafeOwner(CWnd* parent, HWND* topWindow)
{
    HWND owner = parent ? parent->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    while (owner && (::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    if (topWindow) *topWindow = owner;
    return FromHandlePermanent(owner);
}

BOOL CWnd::Attach(HWND hwnd)
{
    if (!hwnd || m_hWnd) return FALSE;
    if (!::SetPropA(hwnd, kObjectProperty, this)) return FALSE;
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hwnd = m_hWnd;
    if (hwnd) ::RemovePropA(hwnd, kObjectProperty);
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!Attach(hwnd)) return FALSE;
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND child = parent ? ::GetDlgItem(parent->m_hWnd, id) : nullptr;
    return child ? SubclassWindow(child) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd && m_pfnSuper)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::CenterWindow()
{
    RECT area;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT centre = area;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    // A hidden or minimised owner gives no useful place: use the screen instead.
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &centre);

    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int x = (centre.left + centre.right) / 2 - width / 2;
    int y = (centre.top + centre.bottom) / 2 - height / 2;
    if (x + width > area.right) x = area.right - width;
    if (x < area.left) x = area.left;
    if (y + height > area.bottom) y = area.bottom - height;
    if (y < area.top) y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer();
}

LRESULT CWnd::Default()
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, m_currentMessage, m_currentWParam, m_currentLParam);
    return ::DefWindowProcA(m_hWnd, m_currentMessage, m_currentWParam, m_currentLParam);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    UINT code = message == WM_COMMAND ? HIWORD(wParam) : 0;
    UINT id = message == WM_COMMAND ? LOWORD(wParam) : 0;
    const MessageMapEntry* entry = FindMessageEntry(WM_REFLECT_BASE + message, code, id);
    if (!entry) return FALSE;
    *result = (this->*entry->handler)(wParam, lParam);
    return TRUE;
}

BOOL CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_CTLCOLORSTATIC && message != WM_COMMAND) return FALSE;
    CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    if (!child || child == this) return FALSE;
    if (message == WM_COMMAND) {
        // The child matches its own notifications by code alone; its id is its own business.
        return child->OnChildNotify(message, MAKEWPARAM(0, HIWORD(wParam)), lParam, result);
    }
    // A child that gives no brush leaves its colouring to the parent, as if it had not been asked.
    return child->OnChildNotify(message, wParam, lParam, result) && *result != 0;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, &result)) return result;

    UINT code = message == WM_COMMAND ? HIWORD(wParam) : 0;
    UINT id = message == WM_COMMAND ? LOWORD(wParam) : 0;
    if (const MessageMapEntry* entry = FindMessageEntry(message, code, id))
        return (this->*entry->handler)(wParam, lParam);
    return Default();
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (!wnd) return ::DefWindowProcA(hwnd, message, wParam, lParam);

    // Handlers may send messages of their own: keep the outer message for Default().
    UINT savedMessage = wnd->m_currentMessage;
    WPARAM savedWParam = wnd->m_currentWParam;
    LPARAM savedLParam = wnd->m_currentLParam;
    wnd->m_currentMessage = message;
    wnd->m_currentWParam = wParam;
    wnd->m_currentLParam = lParam;

    LRESULT result = wnd->WindowProc(message, wParam, lParam);

    wnd->m_currentMessage = savedMessage;
    wnd->m_currentWParam = savedWParam;
    wnd->m_currentLParam = savedLParam;

    if (message == WM_NCDESTROY) {
        WNDPROC super = wnd->m_pfnSuper;
        if (super) ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
        wnd->m_pfnSuper = nullptr;
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}
