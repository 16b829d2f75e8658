// Library versions as setup compares them, and what to do with one library of the table.
#ifndef INSTALL_VERSIONTRIPLE_H
#define INSTALL_VERSIONTRIPLE_H

#include <cstdint>

// Major, minor and build of a file version; the fourth part never takes part.
struct VersionTriple {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t build = 0;
};

// The triple of a fixed file information block's file version (dwFileVersionMS, dwFileVersionLS).
VersionTriple TripleFromFileVersion(std::uint32_t versionMS, std::uint32_t versionLS);

// Strictly greater, part by part in the order major, minor, build.
bool IsNewer(const VersionTriple& a, const VersionTriple& b);

enum class LibraryAction {
    Nothing,             // installed is recent enough, or the carried copy is not newer
    ShowUpgradeDialog,   // no copy carried and the installed one is older than the minimum
    CopyNow,             // a copy is carried and nothing with a version is installed
    ReplaceAtRestart,    // the carried copy is newer than the installed one
};

// A carried copy counts as present when its major version is not 0; a missing file is 0.0.0.
LibraryAction DecideLibraryAction(const VersionTriple& carried, const VersionTriple& installed,
                                  const VersionTriple& minimum);

#endif
