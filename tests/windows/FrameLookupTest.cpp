// The program's own lookup of unwind table entries, its exception runtime and its allocation
// functions, linked into this test program in place of the runtime library's: every exception and
// allocation here, googletest's own included, goes through them. The 64-bit test build has the
// runtime library's own (x86_64 unwinds through tables of its own): there the same exceptions and
// allocations are checked, and the lookup itself does not exist.
#include <gtest/gtest.h>

#include <cstdint>
#include <exception>
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
    // Within the largest size a vector may have, beyond any address space.
    EXPECT_THROW(Allocate(PTRDIFF_MAX - 15), std::bad_alloc);
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

#ifdef __i386__
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

extern "C" IMAGE_DOS_HEADER __ImageBase;

TEST(FrameLookup, WithNoTableRegisteredTheImagesOwnSectionIsWalked)
{
    // The compiler's start-up code has registered this program's table; the setup program has
    // no such code, so the lookup must find the same entries from the image's section alone.
    dwarf_eh_bases registered{};
    auto code = reinterpret_cast<char*>(&Middle);
    const void* expected = _Unwind_Find_FDE(code + 1, &registered);
    ASSERT_NE(nullptr, expected);

    std::size_t size = 0;
    const unsigned char* table = ImageUnwindTable(&__ImageBase, size);
    ASSERT_NE(nullptr, table);
    EXPECT_GE(static_cast<const unsigned char*>(expected), table);
    EXPECT_LT(static_cast<const unsigned char*>(expected), table + size);
    EXPECT_EQ(nullptr, ImageUnwindTable(GetModuleHandleA("kernel32.dll"), size));

    // Taken back the way the start-up code does at exit: unknown tables are ignored.
    EXPECT_EQ(nullptr, __deregister_frame_info(code));
    EXPECT_EQ(expected, _Unwind_Find_FDE(code + 1, &registered));
    __deregister_frame_info(table);
    dwarf_eh_bases walked{};
    EXPECT_EQ(expected, _Unwind_Find_FDE(code + 1, &walked));
    EXPECT_EQ(registered.func, walked.func);
    EXPECT_EQ(nullptr, _Unwind_Find_FDE(reinterpret_cast<void*>(std::uintptr_t(16)), &walked));

    g_destroyed = 0;
    EXPECT_THROW(Middle(3), CUserException);
    EXPECT_EQ(6, g_destroyed);
}
#endif

namespace {

struct Large {
    char bytes[4096];
    int tag;
};

int g_inFlightSeen = -1;

struct CountsInFlight {
    ~CountsInFlight() { g_inFlightSeen = std::uncaught_exceptions(); }
};

__attribute__((noinline)) void ThrowFromDepth(int depth)
{
    if (depth == 0) throw depth;
    try {
        ThrowFromDepth(depth - 1);
    } catch (int inner) {
        // A new exception while the inner one is still being handled.
        throw inner + 1;
    }
}

} // namespace

TEST(ExceptionRuntime, ExceptionsOfAnySizeAndNestingAreAllocatedHandledAndFreed)
{
    for (int round = 0; round < 200; ++round) {
        try {
            Large large{};
            large.tag = round;
            throw large;
        } catch (const Large& caught) {
            ASSERT_EQ(round, caught.tag);
        }
        int value = -1;
        try {
            ThrowFromDepth(12);
        } catch (int caught) {
            value = caught;
        }
        ASSERT_EQ(12, value);
    }
    // Every one handled: nothing still counted as thrown.
    EXPECT_EQ(0, std::uncaught_exceptions());
}

TEST(ExceptionRuntime, AllocationFailureThrowsBadAllocAndEmptyRequestsGetBlocksOfTheirOwn)
{
    volatile std::size_t huge = SIZE_MAX - 255;  // not known to the compiler, which would warn
    EXPECT_THROW(static_cast<void>(::operator new(huge)), std::bad_alloc);
    void* first = ::operator new(0);
    void* second = ::operator new(0);
    EXPECT_NE(nullptr, first);
    EXPECT_NE(first, second);
    ::operator delete(first);
    ::operator delete(second, std::size_t(0));
}

TEST(ExceptionRuntime, AnExceptionOnItsWayIsCountedUntilCaught)
{
    g_inFlightSeen = -1;
    try {
        CountsInFlight watcher;
        AfxThrowUserException();
    } catch (const CUserException&) {
        EXPECT_EQ(0, std::uncaught_exceptions());
    }
    EXPECT_EQ(1, g_inFlightSeen);
}
