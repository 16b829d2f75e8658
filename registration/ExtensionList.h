// The extension list of the file types dialog: extensions separated by spaces.
#ifndef REGISTRATION_EXTENSIONLIST_H
#define REGISTRATION_EXTENSIONLIST_H

#include <string>
#include <string_view>
#include <vector>

// Only the space separates: tabs, line breaks, points and every other character belong to the
// extension, exactly as typed. Runs of spaces give no empty extension.
std::vector<std::string> SplitExtensions(std::string_view list);

// The first extension of the list that must not be made a text file: a program, shortcut or
// script type (in any ASCII letter case), or one holding a control character or one of
// \ / : * ? " < > |. A view into the list; empty when every extension may be written.
std::string_view FindRefusedExtension(std::string_view list);

#endif
