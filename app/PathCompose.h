// Paths as the setup composes them: folder, "\" and name in a buffer of MAX_PATH bytes.
#ifndef APP_PATHCOMPOSE_H
#define APP_PATHCOMPOSE_H

#include <cstddef>

const std::size_t kPathBufferSize = 260;  // MAX_PATH

// Copies at most 259 characters of the folder, then as much of "\" and the name as fits; the
// result is always terminated within the buffer. Returns the length of the result.
std::size_t ComposePath(char (&out)[kPathBufferSize], const char* folder, const char* name);

// Appends text to a terminated path as far as it fits; returns the new length.
std::size_t AppendToPath(char (&path)[kPathBufferSize], const char* text);

#endif
