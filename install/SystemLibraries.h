// The shared system libraries that the product needs, as the first entries of the stage.
#ifndef INSTALL_SYSTEMLIBRARIES_H
#define INSTALL_SYSTEMLIBRARIES_H

#include "app/RunState.h"
#include "install/FileStage.h"

// Returns false when the run must end.
bool UpdateSystemLibraries(FileStage& stage, RunState& state);

#endif
