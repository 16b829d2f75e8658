// The program's own lookup of unwind table entries, linked into this test program in place of the
// runtime library's: every exception here, and every one googletest itself raises, goes through it.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "afxwin.h"
#include "framework/FrameLookup.h"

namespace {

int g_destroyed;

struct Counted {
    ~Counted() { ++g_destroyed; }
};

__attribute__((noinline)) void Innermost(int depth)
{
    Counted counted;
    std::string text(200, 'x'); // a heap block that the unwinding must free
    if (depth < 0) return;
    if (depth == 0) AfxThrowUserException();
    Innermost(depth - 1);
}

__attribute__((noinline)) int Middle(int depth)
{
    Counted counted;
    try {
        Innermost(depth);
    } catch (const CUserException&) {
        ++g_destroyed;
        throw;
    }
    return 0;
}

__attribute__((noinline)) void Allocate(std::size_t size)
{
    std::vector<char> block(size);
    block[0] = 1;
}

} // namespace

TEST(FrameLookup, AnExceptionCrossesFramesRunningEveryDestructorAndIsCaughtAgainAfterARethrow)
{
    for (int round = 0; round < 3; ++round) {
        g_destroyed = 0;
        bool caught = false;
        try {
            Middle(5);
        } catch (const CException&) { // caught by its base class
            caught = true;
        }
        EXPECT_TRUE(caught);
        // six frames of Innermost, the rethrowing handler, Middle's own object
        EXPECT_EQ(8, g_destroyed);
    }
}

TEST(FrameLookup, AFailedAllocationArrivesAsBadAlloc)
{
    EXPECT_THROW(Allocate(0x7FFFFFF0u), std::bad_alloc);
    EXPECT_NO_THROW(Allocate(16));
}

TEST(FrameLookup, AnExceptionThrownAndCaughtWithinAHandlerLeavesTheOuterOneIntact)
{
    int seen = 0;
    try {
        try {
            throw 1;
        } catch (int first) {
            try {
                throw std::string("second");
            } catch (const std::string& second) {
                seen = first * 10 + static_cast<int>(second.size());
            }
            throw;
        }
    } catch (int again) {
        seen = seen * 10 + again;
    }
    EXPECT_EQ(161, seen);
}

TEST(FrameLookup, FindsTheEntryOfTheProgramsOwnCodeAndNothingOutsideIt)
{
    dwarf_eh_bases bases{};
    auto code = reinterpret_cast<char*>(&Middle);
    const void* entry = _Unwind_Find_FDE(code + 1, &bases);
    ASSERT_NE(nullptr, entry);
    EXPECT_LE(reinterpret_cast<char*>(bases.func), code + 1);
    EXPECT_EQ(nullptr, bases.tbase);
    EXPECT_EQ(nullptr, bases.dbase);
    EXPECT_EQ(nullptr, _Unwind_Find_FDE(reinterpret_cast<void*>(std::uintptr_t(16)), &bases));
    auto system = reinterpret_cast<char*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount"));
    EXPECT_EQ(nullptr, _Unwind_Find_FDE(system, &bases));
}
