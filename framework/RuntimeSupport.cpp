// Small stand-ins for the C++ runtime's throw helpers, which the string and container members call
// on misuse. The library's versions throw exceptions, which setup does not have. Linked into the
// program before the runtime library is searched, so the library's own versions, and everything
// they pull in, stay out; a duplicate definition fails the link instead of passing unnoticed.

#include <cstdlib>

#include "AppCore.h"

namespace std {

// A request beyond the largest size is what it is, an allocation that cannot succeed.
void __throw_bad_alloc()
{
    AfxOutOfMemory();
}

void __throw_bad_array_new_length()
{
    AfxOutOfMemory();
}

void __throw_length_error(const char*)
{
    AfxOutOfMemory();
}

// A position past the end or a null text is a programming error: the program ends.
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

}  // namespace std
