// The lines that replace a library at the next start of Windows 95 and 98, and where they go in a
// "Wininit.ini" that may already hold other programs' pending renames.
#ifndef INSTALL_PENDINGRENAMES_H
#define INSTALL_PENDINGRENAMES_H

#include <cstddef>
#include <string>
#include <string_view>

// "NUL=" and the installed path, then the installed path, "=" and the temporary path; CR LF each.
std::string RenameLines(std::string_view installed, std::string_view temporary);

// Where this run's lines go in the file's existing content: at the end of its first "[rename]"
// section (header matched in any letter case), else at the end of the file under a new header.
// `lead` is what must be written before the lines there: a line end where the text before them
// lacks one, and the header where there is none.
struct RenameInsertion {
    std::size_t offset = 0;
    std::string lead;
};

RenameInsertion FindRenameInsertion(std::string_view existing);

// The whole file with the lines merged in; every byte of `existing` is kept.
std::string MergeRenameLines(std::string_view existing, std::string_view lines);

#endif
