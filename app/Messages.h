// Messages that report a failed system call: a string resource with the file or key concerned
// and the system's own text for the error.
#ifndef APP_MESSAGES_H
#define APP_MESSAGES_H

#include <afxwin.h>

// The text of string id with the inserts (insert2 may be null) and the system text for code.
CString ComposeSystemErrorMessage(UINT id, LPCSTR insert1, LPCSTR insert2, DWORD code);

// Both take the last error first of all, so that it is the failed call's.
int ShowSystemErrorMessage(UINT id, LPCSTR insert, UINT flags);
int ShowSystemErrorMessage2(UINT id, LPCSTR insert1, LPCSTR insert2, UINT flags);

#endif
