// The extension list of the file types dialog: extensions separated by spaces.
#ifndef REGISTRATION_EXTENSIONLIST_H
#define REGISTRATION_EXTENSIONLIST_H

#include <cstddef>
#include <string_view>

// The extension that begins at or after `at`, with `at` moved past it; empty at the end of the
// list. Only the space separates: tabs, line breaks, points and every other character belong to
// the extension, exactly as typed. Runs of spaces give no empty extension.
std::string_view NextExtension(std::string_view list, std::size_t& at);

// The first extension of the list that must not be made a text file: a program, shortcut or
// script type (in any ASCII letter case), or one holding a control character or one of
// \ / : * ? " < > |, looked for character by character in the ANSI code page `codePage`. A view
// into the list; empty when every extension may be written.
std::string_view FindRefusedExtension(std::string_view list, unsigned codePage);

#endif
