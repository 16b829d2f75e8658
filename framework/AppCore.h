// Application object, command targets with their message maps, and the framework's globals.
#ifndef FRAMEWORK_APPCORE_H
#define FRAMEWORK_APPCORE_H

#include <windows.h>
#include <cstddef>

class CCmdTarget;
class CWnd;

// A message map is a plain table: the entry's message (and, for WM_COMMAND, the notification code
// and control id) selects a handler; maps chain to their base class's map. Each class keeps its map
// in a static member, initialised at compile time.
using MessageHandler = LRESULT (CCmdTarget::*)(WPARAM, LPARAM);

struct MessageMapEntry {
    UINT message;
    UINT code;      // WM_COMMAND notification code
    UINT id;        // WM_COMMAND control id
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;
    size_t count;
};

// Reflected messages: a parent offers WM_CTLCOLORSTATIC and WM_COMMAND to the child concerned
// first, under this offset, so that a control class can handle its own notifications.
const UINT WM_REFLECT_BASE = 0xBC00;

template <class T>
constexpr MessageHandler MapHandler(LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return static_cast<MessageHandler>(handler);
}

template <size_t N>
constexpr MessageMap MakeMessageMap(const MessageMap* base, const MessageMapEntry (&entries)[N])
{
    return MessageMap{base, entries, N};
}

// Run-time class information: a class's name and its base, for IsKindOf. Only the classes that
// someone asks about carry their own; the others report their nearest base's.
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;

    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    static const MessageMap messageMap;
    virtual const MessageMap* GetMessageMap() const { return &messageMap; }

    static const CRuntimeClass classCCmdTarget;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCCmdTarget; }
    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const { return GetRuntimeClass()->IsDerivedFrom(runtimeClass); }

    // Finds the handler of a message in this object's map chain; null when there is none.
    const MessageMapEntry* FindMessageEntry(UINT message, UINT code, UINT id) const;
};

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // The dialogs get their 3-D look from the system on every version we run on.
    BOOL Enable3dControls() { return TRUE; }

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPCSTR m_pszAppName = nullptr;   // the title of message boxes
    LPCSTR m_pszExeName = nullptr;   // the program's file name without its extension

private:
    friend int AfxWinMain(HINSTANCE instance);
    void SetNamesFromModule();

    char m_exeName[MAX_PATH] = {};
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
CWnd* AfxGetMainWnd();

// Runs the application object: InitInstance, then ExitInstance, whose result is the exit code.
int AfxWinMain(HINSTANCE instance);

// Where an allocation fails, wherever that is (in a step, in a window procedure): shows message
// 129 with the stop icon, without memory of its own, and ends the run as InitInstance's return
// would, through ExitInstance. Setup has no exceptions: there is no caller to hand the failure to.
[[noreturn]] void AfxOutOfMemory();

int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));

#endif
