#include "AppCore.h"

#include "CWnd.h"
#include "res/resource.h"

namespace {

CWinApp* g_app = nullptr;

}  // namespace

const CRuntimeClass CCmdTarget::classCCmdTarget = {"CCmdTarget", nullptr};

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base) return TRUE;
    return FALSE;
}

const MessageMap CCmdTarget::messageMap = {nullptr, nullptr, 0};

const MessageMapEntry* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (size_t i = 0; i < map->count; ++i) {
            const MessageMapEntry& entry = map->entries[i];
            if (entry.message != message) continue;
            bool isCommand = message == WM_COMMAND || message == WM_REFLECT_BASE + WM_COMMAND;
            if (isCommand && (entry.code != code || entry.id != id)) continue;
            return &entry;
        }
    }
    return nullptr;
}

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this) g_app = nullptr;
}

const MessageMap CWinApp::messageMap = {&CCmdTarget::messageMap, nullptr, 0};

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::SetNamesFromModule()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(m_hInstance, path, MAX_PATH);
    path[MAX_PATH - 1] = '\0';
    const char* name = path;
    for (const char* p = path; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    lstrcpynA(m_exeName, name, MAX_PATH);
    char* dot = nullptr;
    for (char* p = m_exeName; *p; p = ::CharNextA(p))
        if (*p == '.') dot = p;
    if (dot) *dot = '\0';
    m_pszExeName = m_exeName;
    if (!m_pszAppName) m_pszAppName = m_exeName;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

int AfxWinMain(HINSTANCE instance)
{
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->SetNamesFromModule();
    // No message loop: the whole program runs inside InitInstance.
    app->InitInstance();
    return app->ExitInstance();
}

void AfxOutOfMemory()
{
    // Nothing here may allocate: the text goes into storage of its own, and the box is
    // task-modal so that no window of the run takes input behind it.
    static char text[256];
    ::LoadStringA(AfxGetResourceHandle(), IDS_NO_MEMORY, text, sizeof text);
    AfxMessageBox(text, MB_ICONHAND | MB_TASKMODAL);
    CWinApp* app = AfxGetApp();
    ::ExitProcess(static_cast<UINT>(app ? app->ExitInstance() : 0));
}
