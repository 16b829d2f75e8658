// Control fixtures for the control registration step: one source, one variant per build.
//   FIXTURE_NAME    the variant's name, written as the mark of a registration
//   FIXTURE_RESULT  what DllRegisterServer returns (left undefined: no DllRegisterServer at all)
//   FIXTURE_HELPER  defined: DllRegisterServer first calls LexaverHelper.dll, which must lie beside it
//   FIXTURE_NEEDS_COM defined: DllRegisterServer creates a COM object (the shell's link object), as
//                   controls that register through COM do, and returns the failure of that creation
//                   when COM is not initialised on the calling thread
// A registration writes HKEY_CURRENT_USER\Software\LexaverTest, value "Registered" = FIXTURE_NAME,
// before it returns its result, so a test sees that the entry point ran even when it reports failure.
#include <windows.h>

#include <olectl.h>

#ifdef FIXTURE_HELPER
extern "C" __declspec(dllimport) int LexaverHelperAnswer();
#endif

#ifdef FIXTURE_NEEDS_COM
namespace {

HRESULT CreateComObject()
{
    const CLSID shellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    const IID unknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    IUnknown* object = NULL;
    HRESULT result = CoCreateInstance(shellLink, NULL, CLSCTX_INPROC_SERVER, unknown, reinterpret_cast<void**>(&object));
    if (SUCCEEDED(result)) object->Release();
    return result;
}

}  // namespace
#endif

#ifdef FIXTURE_RESULT
extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer()
{
#ifdef FIXTURE_HELPER
    if (LexaverHelperAnswer() != 42) return E_UNEXPECTED;
#endif
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\LexaverTest", 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        NULL, &key, NULL) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    const char mark[] = FIXTURE_NAME;
    LONG status = RegSetValueExA(key, "Registered", 0, REG_SZ, reinterpret_cast<const BYTE*>(mark), sizeof mark);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return SELFREG_E_CLASS;
#ifdef FIXTURE_NEEDS_COM
    HRESULT created = CreateComObject();
    if (FAILED(created)) return created;
#endif
    return FIXTURE_RESULT;
}
#else
// Something to export, so that the module is an ordinary DLL that only lacks the entry point.
extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer()
{
    return S_OK;
}
#endif
