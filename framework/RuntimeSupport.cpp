// Small stand-ins for the C++ runtime's throw helpers, which a statically linked setup program would
// otherwise carry whole (terminate, which the library's handler would reach, is in
// ExceptionRuntime.cpp). Linked into the program before the runtime library is searched, so the
// library's own versions, and everything they pull in, stay out. The size check of the release
// build shows what they save; a duplicate definition fails the link instead of passing unnoticed.

#include <cstdlib>
#include <new>

namespace std {

// The string and container members report their misuse through these. The library's versions
// build exception objects holding their own reference-counted strings; here a request beyond the
// largest size is what it is, an allocation that cannot succeed, and every step already handles
// that. A position past the end or a null text is a programming error: it ends the program, as an
// uncaught exception would.
void __throw_bad_alloc()
{
    throw std::bad_alloc();
}

void __throw_bad_array_new_length()
{
    __throw_bad_alloc();
}

void __throw_length_error(const char*)
{
    __throw_bad_alloc();
}

void __throw_logic_error(const char*)
{
    std::abort();
}

void __throw_out_of_range_fmt(const char*, ...)
{
    std::abort();
}

void __throw_bad_function_call()
{
    std::abort();
}

} // namespace std

