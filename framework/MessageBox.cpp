#include "AppCore.h"
#include "CWnd.h"

int AfxMessageBox(LPCSTR text, UINT type, UINT helpId)
{
    HWND owner = nullptr;
    CWnd::GetSafeOwner(nullptr, &owner);
    CWinApp* app = AfxGetApp();
    LPCSTR title = app && app->m_pszAppName ? app->m_pszAppName : "";
    return ::MessageBoxA(owner, text, title, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    CString prompt;
    prompt.LoadString(promptId);
    return AfxMessageBox(prompt, type, helpId);
}
