// Separators in ANSI paths, found character by character: in the double-byte code pages (932,
// 936, 949 and 950) the second byte of a character may be 0x5C, the backslash, or 0x5D. No system
// calls here; the code page is the caller's.
#ifndef APP_PATHSCAN_H
#define APP_PATHSCAN_H

#include <cstddef>
#include <string_view>

bool IsLeadByteInCodePage(unsigned codePage, unsigned char byte);

// Where the character after the one at `at` begins (a lead byte at the very end is one character).
std::size_t NextCharacter(std::string_view text, std::size_t at, unsigned codePage);

// The first `separator` character at or after `from`, or npos.
std::size_t FindCharacter(std::string_view text, char separator, unsigned codePage, std::size_t from = 0);

// The last backslash of the path, or npos.
std::size_t LastBackslash(std::string_view path, unsigned codePage);

// Where the levels of a folder path that can be created begin: after the drive ("C:\"), or after
// the server and share of a network path ("\\server\share\"), which cannot be created; npos
// when the path has no such level. Every backslash from there on ends a level.
std::size_t FirstFolderLevel(std::string_view path, unsigned codePage);

#endif
