#include "ImportReplacement.h"

ImportReplacement::ImportReplacement(const char* module, const char* function, void* replacement)
{
    void* original = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(module), function));
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; original && descriptor->Name && !m_slot; ++descriptor)
        for (auto** slot = reinterpret_cast<void**>(base + descriptor->FirstThunk); *slot; ++slot)
            if (*slot == original) {
                m_slot = slot;
                break;
            }
    if (m_slot) Swap(replacement);
    m_original = original;
}

ImportReplacement::~ImportReplacement()
{
    if (m_slot) Swap(m_original);
}

void ImportReplacement::Swap(void* target)
{
    DWORD protection = 0;
    VirtualProtect(m_slot, sizeof *m_slot, PAGE_READWRITE, &protection);
    *m_slot = target;
    VirtualProtect(m_slot, sizeof *m_slot, protection, &protection);
}
