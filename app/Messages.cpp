#include "app/Messages.h"

CString ComposeSystemErrorMessage(UINT id, LPCSTR insert1, LPCSTR insert2, DWORD code)
{
    // The system text keeps its line end, so that the rest of the message starts on a new line.
    // Its inserts ("%1") stay as they are: there are no arguments for them.
    LPSTR systemText = nullptr;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&systemText),
                   0, nullptr);

    char format[1024] = {};
    LoadStringA(AfxGetResourceHandle(), id, format, sizeof format);
    char text[1024] = {};
    LPCSTR errorText = systemText ? systemText : "";
    if (insert2)
        wsprintfA(text, format, insert1 ? insert1 : "", insert2, errorText);
    else
        wsprintfA(text, format, insert1 ? insert1 : "", errorText);
    text[sizeof text - 1] = '\0';

    if (systemText) LocalFree(systemText);
    return CString(text);
}

int ShowSystemErrorMessage(UINT id, LPCSTR insert, UINT flags)
{
    DWORD code = GetLastError();
    return AfxMessageBox(ComposeSystemErrorMessage(id, insert, nullptr, code), flags, 0);
}

int ShowSystemErrorMessage2(UINT id, LPCSTR insert1, LPCSTR insert2, UINT flags)
{
    DWORD code = GetLastError();
    return AfxMessageBox(ComposeSystemErrorMessage(id, insert1, insert2, code), flags, 0);
}
