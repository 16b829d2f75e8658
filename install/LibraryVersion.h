// Reading a file's version triple through the system's version API.
#ifndef INSTALL_LIBRARYVERSION_H
#define INSTALL_LIBRARYVERSION_H

#include "install/VersionTriple.h"

// Sets `triple` to the file's version, 0.0.0 for a missing file or one without version
// information (or whose root block cannot be read). False only when no memory could be had for
// the version buffer; `triple` is then 0.0.0.
bool ReadVersionTriple(const char* path, VersionTriple& triple);

#endif
