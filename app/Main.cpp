#include "app/InstallApp.h"

// The one application object; the framework's entry point runs it.
CInstallApp theApp;
