// The command search path as text: whole-entry matching, the NT "Path" value edit, and the PATH
// statement of a startup batch file. Text in; new text, or nothing when the folder is already
// there, out. No file or registry access here.
#ifndef REGISTRATION_SEARCHPATH_H
#define REGISTRATION_SEARCHPATH_H

#include <optional>
#include <string>
#include <string_view>

// True when one of the ";"-separated entries names the folder: letter case (of the code page),
// surrounding blanks and one trailing backslash do not count.
bool SearchPathHoldsFolder(std::string_view entries, std::string_view folder, unsigned codePage);

// The NT "Path" value with the folder appended after a ";" (a trailing ";" of the value is not
// doubled; an empty value becomes the folder alone); nothing when the folder is an entry already.
std::optional<std::string> AddToPathValue(std::string_view value, std::string_view folder, unsigned codePage);

// Where the PATH statement of a startup file stands: its line is [lineStart, lineEnd) and its
// entries begin at entriesStart. A statement is a line whose first word, after blanks and an
// optional "@", is PATH followed by "=" or a blank, or SET, blanks, PATH, optional blanks and
// "=", in any letter case.
struct PathStatement {
    std::size_t lineStart = 0;
    std::size_t entriesStart = 0;
    std::size_t lineEnd = 0;
};
std::optional<PathStatement> FindPathStatement(std::string_view text);

// The startup file with the folder added to its first PATH statement (before the end-of-file
// marks that may end the file's last line), or a "set PATH=%PATH%;" line for it put on top when
// there is none; nothing when the statement already names the folder. Every byte of the old text
// is kept, zero bytes included.
std::optional<std::string> AddToStatement(std::string_view autoexec, std::string_view folder, unsigned codePage);

#endif
