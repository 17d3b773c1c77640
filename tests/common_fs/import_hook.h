// Swaps entries of this program's import table, so that a test sees the
// platform calls that the linked library code makes, in order, and still lets
// them through to the platform.
#pragma once

#include <windows.h>

#include <cstring>

namespace link14 {
namespace testing_fs {

// Points every import slot that holds `original` at `replacement`. Returns
// the number of slots changed.
inline int RepointImports(const void* original, const void* replacement) {
    BYTE* const base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return 0;
    int changed = 0;
    for (const IMAGE_IMPORT_DESCRIPTOR* d =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
        for (IMAGE_THUNK_DATA* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
             slot->u1.Function != 0; ++slot) {
            if (reinterpret_cast<const void*>(slot->u1.Function) != original) continue;
            DWORD old = 0;
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &old);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), old, &old);
            ++changed;
        }
    }
    return changed;
}

template <typename Fn>
Fn PlatformEntry(const char* module, const char* name) {
    const FARPROC entry = GetProcAddress(GetModuleHandleA(module), name);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(entry));
}

template <typename Fn>
const void* AsAddress(Fn fn) {
    return reinterpret_cast<const void*>(reinterpret_cast<ULONG_PTR>(fn));
}

}  // namespace testing_fs
}  // namespace link14
