// Where the exception unwinder finds the unwind table entry of a code address. The runtime library's
// own version keeps sorted tables of any number of modules and costs ten times this; the program
// has exactly one table, its own, and an exception is thrown a handful of times in a run, so a
// walk through that table is all it needs.

#include "framework/FrameLookup.h"

#include <cstdint>
#include <cstring>
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// The table registered by the compiler's start-up code, ended by an entry of length 0; or, when
// nothing registered one, the image's own table section, ended by its size.
const unsigned char* g_frames;
const unsigned char* g_framesEnd;

enum : unsigned char {
    EncodingOmit = 0xFF,
    FormatMask = 0x0F,
    AbsolutePointer = 0x00,
    Uleb128 = 0x01,
    Udata2 = 0x02,
    Udata4 = 0x03,
    Udata8 = 0x04,
    Sleb128 = 0x09,
    Sdata2 = 0x0A,
    Sdata4 = 0x0B,
    Sdata8 = 0x0C,
    ApplicationMask = 0x70,
    PcRelative = 0x10,
    Aligned = 0x50,
};

// A variable-length number: seven bits a byte, the lowest first; a signed one extends its last sign bit.
std::uintptr_t ReadLeb128(const unsigned char*& p, bool isSigned)
{
    std::uintptr_t value = 0;
    unsigned shift = 0;
    unsigned char byte;
    do {
        byte = *p++;
        if (shift < sizeof value * 8) value |= static_cast<std::uintptr_t>(byte & 0x7F) << shift;
        shift += 7;
    } while (byte & 0x80);
    if (isSigned && shift < sizeof value * 8 && (byte & 0x40)) value |= ~std::uintptr_t(0) << shift;
    return value;
}

template <typename T>
T ReadRaw(const unsigned char*& p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    p += sizeof value;
    return value;
}

// A value in one of the encodings that the compiler writes into unwind tables. Only the forms a
// program's own table holds are relative to anything: to where the value itself is stored.
bool ReadEncoded(const unsigned char*& p, unsigned char encoding, std::uintptr_t& value)
{
    const unsigned char* at = p;
    if ((encoding & ApplicationMask) == Aligned) {
        p = reinterpret_cast<const unsigned char*>(
            (reinterpret_cast<std::uintptr_t>(p) + sizeof(void*) - 1) & ~(sizeof(void*) - 1));
        value = ReadRaw<std::uintptr_t>(p);
        return true;
    }
    switch (encoding & FormatMask) {
    case AbsolutePointer: value = ReadRaw<std::uintptr_t>(p); break;
    case Uleb128: value = ReadLeb128(p, false); break;
    case Sleb128: value = ReadLeb128(p, true); break;
    case Udata2: value = ReadRaw<std::uint16_t>(p); break;
    case Sdata2: value = static_cast<std::uintptr_t>(ReadRaw<std::int16_t>(p)); break;
    case Udata4: value = ReadRaw<std::uint32_t>(p); break;
    case Sdata4: value = static_cast<std::uintptr_t>(ReadRaw<std::int32_t>(p)); break;
    case Udata8: value = static_cast<std::uintptr_t>(ReadRaw<std::uint64_t>(p)); break;
    case Sdata8: value = static_cast<std::uintptr_t>(ReadRaw<std::int64_t>(p)); break;
    default: return false;
    }
    switch (encoding & ApplicationMask) {
    case 0: break;
    case PcRelative: value += reinterpret_cast<std::uintptr_t>(at); break;
    default: return false; // relative to bases the program never uses
    }
    return true;
}

// The encoding of the code addresses in the entries that share this common entry ("R" in its
// augmentation), or EncodingOmit when the augmentation is not understood.
unsigned char AddressEncoding(const unsigned char* cie)
{
    const unsigned char* p = cie + 8;
    unsigned char version = *p++;
    const char* augmentation = reinterpret_cast<const char*>(p);
    p += std::strlen(augmentation) + 1;
    if (augmentation[0] != 'z') return augmentation[0] == '\0' ? AbsolutePointer : EncodingOmit;
    ReadLeb128(p, false); // code alignment
    ReadLeb128(p, true);  // data alignment
    if (version == 1) ++p; else ReadLeb128(p, false); // return address column
    ReadLeb128(p, false); // augmentation data length
    for (const char* a = augmentation + 1; *a; ++a) {
        switch (*a) {
        case 'R':
            return *p;
        case 'P': {
            unsigned char personality = *p++;
            std::uintptr_t ignored;
            if (!ReadEncoded(p, personality & 0x7F, ignored)) return EncodingOmit;
            break;
        }
        case 'L':
            ++p;
            break;
        case 'S':
        case 'B':
            break;
        default:
            return EncodingOmit;
        }
    }
    return AbsolutePointer;
}

} // namespace

const unsigned char* ImageUnwindTable(const void* image, std::size_t& size)
{
    auto base = static_cast<const unsigned char*>(image);
    auto dos = static_cast<const IMAGE_DOS_HEADER*>(image);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        // The name is cut to eight letters: the program is linked without long section names.
        if (std::memcmp(section->Name, ".eh_fram", 8) == 0) {
            size = section->Misc.VirtualSize;
            return base + section->VirtualAddress;
        }
    }
    size = 0;
    return nullptr;
}

extern "C" {

// Called by the compiler's start-up code, in the programs linked with it, with the program's table
// (and once more at exit to take it back).
void __register_frame_info(const void* begin, void*)
{
    g_frames = static_cast<const unsigned char*>(begin);
    g_framesEnd = nullptr;
}

void* __deregister_frame_info(const void* begin)
{
    if (g_frames == begin) g_frames = nullptr;
    return nullptr;
}

const void* _Unwind_Find_FDE(void* pc, dwarf_eh_bases* bases)
{
    const auto target = reinterpret_cast<std::uintptr_t>(pc);
    if (!g_frames) {
        std::size_t size;
        g_frames = ImageUnwindTable(&__ImageBase, size);
        g_framesEnd = g_frames + size;
    }
    for (const unsigned char* entry = g_frames; entry && (!g_framesEnd || g_framesEnd - entry >= 8); ) {
        const unsigned char* p = entry;
        std::uint32_t length = ReadRaw<std::uint32_t>(p);
        if (length == 0) break;
        if (length == 0xFFFFFFFF) break; // 64-bit lengths do not occur in a 32-bit program
        const unsigned char* next = p + length;
        std::uint32_t cieOffset = ReadRaw<std::uint32_t>(p);
        if (cieOffset != 0) {
            const unsigned char* cie = entry + 4 - cieOffset;
            unsigned char encoding = AddressEncoding(cie);
            std::uintptr_t begin, range;
            if (encoding != EncodingOmit && ReadEncoded(p, encoding, begin)
                && ReadEncoded(p, encoding & FormatMask, range)
                && begin != 0 && target - begin < range) {
                bases->tbase = nullptr;
                bases->dbase = nullptr;
                bases->func = reinterpret_cast<void*>(begin);
                return entry;
            }
        }
        entry = next;
    }
    return nullptr;
}

} // extern "C"
