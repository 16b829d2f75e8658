// Reads a shell shortcut (.lnk) back through the shell's own link object, as another program
// that opens it would see it.
#ifndef ROBOT_SHORTCUT_READER_H
#define ROBOT_SHORTCUT_READER_H

#include <string>

// The shortcut's fields as one JSON object (UTF-8), or false when the link object cannot load it.
bool ReadShortcut(const std::wstring& path, std::string& json);

#endif
