// The parts of the C++ exception runtime that the library builds for many threads and replaceable
// handlers, in the form a single-threaded setup program needs. The library's versions guard an
// emergency pool with a mutex and keep the per-thread state in emulated thread-local storage:
// with the thread support they bring, about 6 KB. Setup runs all of its code on one thread.
// A duplicate definition fails the link instead of passing unnoticed.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <exception>
#include <unwind.h>

namespace __cxxabiv1 {

// The runtime's record of the exceptions being handled on the thread.
struct __cxa_eh_globals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};

} // namespace __cxxabiv1

namespace {

// The runtime keeps its own record of an exception just before the thrown object, and expects it
// zeroed. Its size is the runtime's (the library's own allocator adds the same).
constexpr std::size_t kHeaderSize = 96;

// When memory is exhausted, std::bad_alloc must still be thrown and caught: a few exceptions of
// small objects can always be had from here.
constexpr std::size_t kSpareSize = kHeaderSize + 32;
constexpr int kSpareCount = 4;
alignas(16) unsigned char g_spare[kSpareCount][kSpareSize];
bool g_spareUsed[kSpareCount];

__cxxabiv1::__cxa_eh_globals g_globals;

} // namespace

extern "C" {

void* __cxa_allocate_exception(std::size_t size) noexcept
{
    void* block = size <= SIZE_MAX - kHeaderSize ? std::malloc(size + kHeaderSize) : nullptr;
    if (!block && size <= kSpareSize - kHeaderSize) {
        for (int i = 0; i < kSpareCount; ++i) {
            if (!g_spareUsed[i]) {
                g_spareUsed[i] = true;
                block = g_spare[i];
                break;
            }
        }
    }
    if (!block) std::terminate();
    std::memset(block, 0, kHeaderSize);
    return static_cast<unsigned char*>(block) + kHeaderSize;
}

void __cxa_free_exception(void* thrown) noexcept
{
    unsigned char* block = static_cast<unsigned char*>(thrown) - kHeaderSize;
    for (int i = 0; i < kSpareCount; ++i) {
        if (block == g_spare[i]) {
            g_spareUsed[i] = false;
            return;
        }
    }
    std::free(block);
}

__cxxabiv1::__cxa_eh_globals* __cxa_get_globals() noexcept
{
    return &g_globals;
}

__cxxabiv1::__cxa_eh_globals* __cxa_get_globals_fast() noexcept
{
    return &g_globals;
}

// Link-time optimisation gives functions that only run destructors during unwinding the C
// language's handler, which would bring a second one. The C++ handler does the same for them:
// their tables have only clean-ups, which it runs alike.
_Unwind_Reason_Code __gxx_personality_v0(int, _Unwind_Action, _Unwind_Exception_Class,
                                         _Unwind_Exception*, _Unwind_Context*);

_Unwind_Reason_Code __gcc_personality_v0(int version, _Unwind_Action actions,
                                         _Unwind_Exception_Class exceptionClass,
                                         _Unwind_Exception* exception, _Unwind_Context* context)
{
    return __gxx_personality_v0(version, actions, exceptionClass, exception, context);
}

} // extern "C"

// Setup installs no handlers of its own: what terminate does is end the program. The library's
// versions keep replaceable handlers and guard their calls; a program that asked for set_terminate
// would bring them back and fail to link against these.
namespace std {

void terminate() noexcept
{
    abort();
}

terminate_handler get_terminate() noexcept
{
    return abort;
}

// For dynamic exception specifications, which setup's code has none of.
void unexpected();
void unexpected()
{
    abort();
}

using unexpected_handler = void (*)();
unexpected_handler get_unexpected() noexcept;
unexpected_handler get_unexpected() noexcept
{
    return abort;
}

} // namespace std

namespace __cxxabiv1 {

void __terminate(void (*)()) noexcept
{
    std::abort();
}

void __unexpected(void (*)())
{
    std::abort();
}

} // namespace __cxxabiv1
