// The unwinder's entry into the program's own unwind table lookup (the names are the runtime's).
#ifndef FRAMEWORK_FRAMELOOKUP_H
#define FRAMEWORK_FRAMELOOKUP_H

extern "C" {

struct dwarf_eh_bases {
    void* tbase;
    void* dbase;
    void* func;   // where the function holding the code address starts
};

// The table entry for the code at `pc`, or null when the program has none.
const void* _Unwind_Find_FDE(void* pc, dwarf_eh_bases* bases);

} // extern "C"

#endif
