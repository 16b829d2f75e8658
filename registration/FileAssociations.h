// Text file associations: the editor opens and prints the system's text-file type "txtfile",
// and the extensions that the user accepts in the file types dialog are attached to that type.
#ifndef REGISTRATION_FILEASSOCIATIONS_H
#define REGISTRATION_FILEASSOCIATIONS_H

#include <string_view>

#include "app/RunState.h"

// Shows the file types dialog; on Yes writes the associations. Nothing is reported: a write
// that fails leaves its key as it was and the others are still attempted.
void AssociateTextFiles(const RunState& state);

// The writes alone, for the editor in folder and the extensions of the space-separated list.
void WriteTextFileAssociations(const char* folder, std::string_view extensions);

#endif
