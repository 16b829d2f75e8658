// Paths as the setup composes them: folder, "\" and name in a buffer of MAX_PATH bytes.
#ifndef APP_PATHCOMPOSE_H
#define APP_PATHCOMPOSE_H

#include <cstddef>

const std::size_t kPathBufferSize = 260;  // MAX_PATH

// Folder, "\" and name, terminated within the buffer. A path that does not fit is never cut into
// another one: false, with the buffer empty.
bool ComposePath(char (&out)[kPathBufferSize], const char* folder, const char* name);

// Appends text to a terminated path; false, with the buffer empty, when it does not fit.
bool AppendToPath(char (&path)[kPathBufferSize], const char* text);

// Folder, "\" and name for a message, also where ComposePath refuses them (cut only at the end
// of this buffer's room, which no real path reaches).
void JoinForMessage(char (&out)[2 * kPathBufferSize], const char* folder, const char* name);

#endif
