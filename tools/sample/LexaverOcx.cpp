// Stand-in for the Lexaver ActiveX control: only its self-registration, which writes one key
// that tells where the registered copy lies.
#include <windows.h>

#include <olectl.h>

namespace {

const char ControlKey[] = "Lexaver.SampleControl";
const char ControlName[] = "Lexaver sample control";
HINSTANCE g_module = NULL;

LONG SetText(HKEY key, const char* name, const char* text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    return TRUE;
}

extern "C" HRESULT __stdcall DllRegisterServer()
{
    char path[MAX_PATH];
    if (GetModuleFileNameA(g_module, path, MAX_PATH) == 0) return SELFREG_E_CLASS;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, ControlKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, &key,
                        NULL) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    LONG result = SetText(key, NULL, ControlName);
    if (result == ERROR_SUCCESS) result = SetText(key, "Path", path);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT __stdcall DllUnregisterServer()
{
    LONG result = RegDeleteKeyA(HKEY_CLASSES_ROOT, ControlKey);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}
