// Self-registration of the installed control "Lexaver.ocx" through its DllRegisterServer.
#ifndef REGISTRATION_CONTROLREGISTRATION_H
#define REGISTRATION_CONTROLREGISTRATION_H

#include "app/RunState.h"

// Loads the destination folder's control and lets it register itself. A control that cannot be
// loaded or has no entry point shows message 4, a refused registration message 5; the run goes
// on either way. The process error mode is the same afterwards as before.
void RegisterControl(const RunState& state);

#endif
