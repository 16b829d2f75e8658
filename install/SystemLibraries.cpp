#include "install/SystemLibraries.h"

#include "install/FileLists.h"

bool UpdateSystemLibraries(FileStage& stage, RunState& state)
{
    // Each library is one entry of the progress display. Comparing and replacing the libraries
    // is not built yet: until it is, the installed libraries are left as they are.
    for (const SystemLibrary* library = SystemLibraryTable; library->name[0]; ++library)
        stage.Step(library->name);
    return true;
}
