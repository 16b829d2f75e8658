#include <gtest/gtest.h>

#include "install/FileLists.h"
#include "install/VersionTriple.h"

namespace {

VersionTriple V(unsigned major, unsigned minor, unsigned build)
{
    VersionTriple v;
    v.major = static_cast<std::uint16_t>(major);
    v.minor = static_cast<std::uint16_t>(minor);
    v.build = static_cast<std::uint16_t>(build);
    return v;
}

VersionTriple Minimum(const char* name)
{
    for (const SystemLibrary* library = SystemLibraryTable; library->name[0]; ++library)
        if (std::string(library->name) == name)
            return V(library->minimumMajor, library->minimumMinor, library->minimumBuild);
    ADD_FAILURE() << name << " is not in the table";
    return VersionTriple();
}

const VersionTriple kNone;

}  // namespace

TEST(VersionTriple, TakesMajorMinorAndBuildAndIgnoresTheFourthPart)
{
    VersionTriple v = TripleFromFileVersion(0x00060000u, 0x1FE80009u);  // 6.0.8168.9
    EXPECT_EQ(6, v.major);
    EXPECT_EQ(0, v.minor);
    EXPECT_EQ(8168, v.build);
    EXPECT_FALSE(IsNewer(TripleFromFileVersion(0x00060000u, 0x1FE80009u), TripleFromFileVersion(0x00060000u, 0x1FE80000u)));
    EXPECT_FALSE(IsNewer(TripleFromFileVersion(0x00060000u, 0x1FE80000u), TripleFromFileVersion(0x00060000u, 0x1FE80009u)));
}

TEST(VersionTriple, ComparesPartsAsNumbersInOrder)
{
    EXPECT_TRUE(IsNewer(V(4, 21, 0), V(4, 3, 0)));      // not as text
    EXPECT_FALSE(IsNewer(V(4, 3, 0), V(4, 21, 0)));
    EXPECT_TRUE(IsNewer(V(2, 40, 4500), V(2, 40, 4275)));  // the build part takes part
    EXPECT_FALSE(IsNewer(V(2, 40, 4275), V(2, 40, 4275)));  // equal is not newer
    EXPECT_TRUE(IsNewer(V(5, 0, 0), V(4, 99, 9999)));    // major before minor before build
    EXPECT_TRUE(IsNewer(V(4, 22, 0), V(4, 21, 9999)));
}

TEST(VersionTriple, PartsAreUnsigned16BitNumbers)
{
    VersionTriple high = TripleFromFileVersion(0xFFFF8000u, 0x80000000u);
    EXPECT_EQ(65535, high.major);
    EXPECT_EQ(32768, high.minor);
    EXPECT_EQ(32768, high.build);
    EXPECT_TRUE(IsNewer(high, V(1, 0, 0)));
    EXPECT_TRUE(IsNewer(V(1, 32768, 0), V(1, 32767, 0)));
    EXPECT_TRUE(IsNewer(V(1, 0, 65535), V(1, 0, 1)));
}

TEST(LibraryDecision, WithoutCarriedCopyOnlyAnOlderInstalledLibraryShowsTheDialog)
{
    const VersionTriple minimum = Minimum("Mfc42.dll");
    EXPECT_EQ(LibraryAction::ShowUpgradeDialog, DecideLibraryAction(kNone, V(4, 20, 9), minimum));
    EXPECT_EQ(LibraryAction::ShowUpgradeDialog, DecideLibraryAction(kNone, kNone, minimum));  // missing
    EXPECT_EQ(LibraryAction::Nothing, DecideLibraryAction(kNone, V(4, 21, 0), minimum));      // equal
    EXPECT_EQ(LibraryAction::Nothing, DecideLibraryAction(kNone, V(6, 0, 8168), minimum));
    // A carried file with major 0 counts as absent, whatever its other parts.
    EXPECT_EQ(LibraryAction::ShowUpgradeDialog, DecideLibraryAction(V(0, 99, 99), V(4, 20, 9), minimum));
}

TEST(LibraryDecision, CarriedCopyIsCopiedOverNothingAndQueuedOnlyOverAnOlderLibrary)
{
    const VersionTriple minimum = Minimum("Oleaut32.dll");
    EXPECT_EQ(LibraryAction::CopyNow, DecideLibraryAction(V(2, 40, 4275), kNone, minimum));
    EXPECT_EQ(LibraryAction::CopyNow, DecideLibraryAction(V(2, 40, 4275), V(0, 5, 5), minimum));
    EXPECT_EQ(LibraryAction::ReplaceAtRestart, DecideLibraryAction(V(2, 40, 4500), V(2, 40, 4275), minimum));
    EXPECT_EQ(LibraryAction::Nothing, DecideLibraryAction(V(2, 40, 4275), V(2, 40, 4275), minimum));
    EXPECT_EQ(LibraryAction::Nothing, DecideLibraryAction(V(2, 30, 0), V(2, 40, 4275), minimum));  // never downgraded
    // The minimum plays no part once a copy is carried: an old copy still replaces an older library.
    EXPECT_EQ(LibraryAction::ReplaceAtRestart, DecideLibraryAction(V(2, 10, 0), V(2, 0, 0), minimum));
}

TEST(LibraryDecision, TableHoldsTheFourLibrariesWithTheirMinimaInOrder)
{
    const char* names[] = {"Mfc42.dll", "Msvcrt.dll", "Oleaut32.dll", "Olepro32.dll"};
    ASSERT_EQ(4, CountSystemLibraries());
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(names[i], SystemLibraryTable[i].name);
    VersionTriple oleaut = Minimum("Oleaut32.dll");
    EXPECT_EQ(2, oleaut.major);
    EXPECT_EQ(20, oleaut.minor);
    EXPECT_EQ(4054, oleaut.build);
    VersionTriple olepro = Minimum("Olepro32.dll");
    EXPECT_EQ(5, olepro.major);
    EXPECT_EQ(4055, olepro.build);
}
