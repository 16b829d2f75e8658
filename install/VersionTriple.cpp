#include "install/VersionTriple.h"

VersionTriple TripleFromFileVersion(std::uint32_t versionMS, std::uint32_t versionLS)
{
    VersionTriple triple;
    triple.major = static_cast<std::uint16_t>(versionMS >> 16);
    triple.minor = static_cast<std::uint16_t>(versionMS & 0xFFFF);
    triple.build = static_cast<std::uint16_t>(versionLS >> 16);
    return triple;
}

bool IsNewer(const VersionTriple& a, const VersionTriple& b)
{
    if (a.major != b.major) return a.major > b.major;
    if (a.minor != b.minor) return a.minor > b.minor;
    return a.build > b.build;
}

LibraryAction DecideLibraryAction(const VersionTriple& carried, const VersionTriple& installed,
                                  const VersionTriple& minimum)
{
    if (carried.major == 0)
        return IsNewer(minimum, installed) ? LibraryAction::ShowUpgradeDialog : LibraryAction::Nothing;
    if (installed.major == 0) return LibraryAction::CopyNow;
    return IsNewer(carried, installed) ? LibraryAction::ReplaceAtRestart : LibraryAction::Nothing;
}
