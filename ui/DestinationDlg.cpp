#include "ui/DestinationDlg.h"

#include <shlobj.h>

#include "res/resource.h"

CDestinationDlg::CDestinationDlg(CWnd* parent)
    : CDialog(IDD_DESTINATION, parent),
      m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_SETUP)))
{
}

const MessageMapEntry CDestinationDlg::messageEntries[] = {
    {WM_PAINT, 0, 0, MapHandler(&CDestinationDlg::OnPaint)},
    {WM_QUERYDRAGICON, 0, 0, MapHandler(&CDestinationDlg::OnQueryDragIcon)},
    {WM_COMMAND, BN_CLICKED, IDC_BROWSE, MapHandler(&CDestinationDlg::OnBrowse)},
};
const MessageMap CDestinationDlg::messageMap = MakeMessageMap(&CDialog::messageMap, messageEntries);

void CDestinationDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_FOLDER, m_folder);
    DDX_Text(dx, IDC_MESSAGE, m_message);
}

BOOL CDestinationDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetForegroundWindow();
    return TRUE;  // the focus goes to the first tab stop, Next
}

LRESULT CDestinationDlg::OnPaint(WPARAM, LPARAM)
{
    if (!IsIconic()) return Default();

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client;
    GetClientRect(&client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
    return 0;
}

LRESULT CDestinationDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_hIcon);
}

LRESULT CDestinationDlg::OnBrowse(WPARAM, LPARAM)
{
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return 0;

    CString title;
    title.LoadString(IDS_CHOOSE_DIRECTORY);
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    // Owned by this dialog, which waits for it: Next pressed meanwhile would take the old folder,
    // and Browse would open a second browser.
    info.hwndOwner = m_hWnd;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;

    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (item) {
        char path[MAX_PATH] = {};
        BOOL havePath = SHGetPathFromIDListA(item, path);
        allocator->Free(item);
        // Taken as the shell gives it: a drive root keeps its backslash.
        if (havePath) ::SetWindowTextA(GetDlgItemHandle(IDC_FOLDER), path);
    }
    allocator->Release();
    return 0;
}
