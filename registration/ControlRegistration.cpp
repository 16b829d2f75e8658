#include "registration/ControlRegistration.h"

#include <afxwin.h>
#include <ole2.h>

#include "app/PathCompose.h"
#include "app/SystemDlls.h"
#include "res/resource.h"

namespace {

using RegisterServerProc = HRESULT(STDAPICALLTYPE*)();

}  // namespace

void RegisterControl(const RunState& state)
{
    // A missing control is reported by message 4 alone, without the system's own box.
    UINT savedMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    char control[MAX_PATH];
    ComposePath(control, state.destination, "Lexaver.ocx");
    HMODULE module = LoadLibraryWithItsFolder(control);
    auto registerServer = module ? reinterpret_cast<RegisterServerProc>(
                                       reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")))
                                 : nullptr;
    if (!registerServer) {
        AfxMessageBox(IDS_OCX_NOT_FOUND, MB_ICONHAND);
        if (module) FreeLibrary(module);
        SetErrorMode(savedMode);
        return;
    }
    // As the system's own registration tool does: a control may create COM objects while it
    // registers itself.
    HRESULT initialised = OleInitialize(nullptr);
    HRESULT result = registerServer();
    FreeLibrary(module);
    if (SUCCEEDED(initialised)) OleUninitialize();
    SetErrorMode(savedMode);
    // S_FALSE too: the control did not register everything it has.
    if (result != S_OK) AfxMessageBox(IDS_OCX_NOT_REGISTERED, MB_ICONHAND);
}
