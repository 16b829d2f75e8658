// A 32-bit setup on 64-bit Windows: the system shows it a 32-bit world (System32 names the 32-bit
// libraries, HKLM\Software the 32-bit view), but what it hands on to the system for later, and
// what is shared by programs of both widths, must be named as the system itself sees it.
#ifndef APP_WOW64_H
#define APP_WOW64_H

#include <windows.h>

// True when this process is a 32-bit one on 64-bit Windows; false on 32-bit Windows, in a 64-bit
// process, and on systems that predate WoW64.
bool RunsUnderWow64();

// The folder of the system libraries that this process loads, by a name that means the same to
// every process: under WoW64 the 32-bit system folder (SysWOW64), whose name a restart performed
// by the 64-bit system does not redirect; elsewhere the system folder.
UINT GetLibraryFolder(char* path, UINT size);

// KEY_WOW64_64KEY under WoW64, for a key that programs of both widths share and whose strings the
// 32-bit view may rewrite ("%ProgramFiles%" as "%ProgramFiles(x86)%", KB 950407); 0 elsewhere,
// for Windows 2000 rejects the flag.
REGSAM SharedKeyView();

#endif
