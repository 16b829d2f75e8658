// The framework in one include, under the name the setup's sources expect.
#ifndef FRAMEWORK_AFXWIN_H
#define FRAMEWORK_AFXWIN_H

#include "AppCore.h"
#include "CString.h"
#include "CWnd.h"
#include "CDialog.h"
#include "DataExchange.h"
#include "Controls.h"

#endif
