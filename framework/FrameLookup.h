// The unwinder's entry into the program's own unwind table lookup (the names are the runtime's).
#ifndef FRAMEWORK_FRAMELOOKUP_H
#define FRAMEWORK_FRAMELOOKUP_H

#include <cstddef>

// The unwind table section of a loaded image and its size, or null when it has none.
const unsigned char* ImageUnwindTable(const void* image, std::size_t& size);

extern "C" {

struct dwarf_eh_bases {
    void* tbase;
    void* dbase;
    void* func;   // where the function holding the code address starts
};

// Where the compiler's start-up code is linked, it hands over the program's table at start and
// takes it back at exit.
void __register_frame_info(const void* begin, void* object);
void* __deregister_frame_info(const void* begin);

// The table entry for the code at `pc`, or null when the program has none.
const void* _Unwind_Find_FDE(void* pc, dwarf_eh_bases* bases);

} // extern "C"

#endif
