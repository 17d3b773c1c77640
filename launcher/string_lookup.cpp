#include "launcher/string_lookup.h"

#include <vector>

namespace link14 {

int FindStringEntry(HINSTANCE instance, UINT id, const WCHAR** text) {
    *text = nullptr;
    const UINT block = (id >> 4) + 1;
    const UINT position = id & 15;
    HRSRC found =
        FindResourceExW(instance, reinterpret_cast<LPCWSTR>(RT_STRING), MAKEINTRESOURCEW(block), 0);
    if (!found) return 0;
    HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded) return 0;
    const WCHAR* p = static_cast<const WCHAR*>(LockResource(loaded));
    if (!p) return 0;
    // Walk the length-prefixed entries without reading past the block.
    const DWORD units = SizeofResource(instance, found) / sizeof(WCHAR);
    DWORD offset = 0;
    for (UINT i = 0;; ++i) {
        if (offset >= units) return 0;
        const DWORD length = p[offset];
        if (offset + 1 + length > units) return 0;
        if (i == position) {
            if (length == 0) return 0;
            *text = p + offset + 1;
            return static_cast<int>(length);
        }
        offset += 1 + length;
    }
}

IString LoadCatalogString(const ModuleRecord& module, UINT id) {
    IString result;
    for (int i = 0; i < module.InstanceCount(); ++i) {
        const WCHAR* wide = nullptr;
        const int length = FindStringEntry(module.Instance(i), id, &wide);
        if (length == 0) continue;
        const int bytes =
            WideCharToMultiByte(CP_THREAD_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
        if (bytes > 0) {
            std::vector<char> buffer(static_cast<size_t>(bytes));
            const int written = WideCharToMultiByte(CP_THREAD_ACP, 0, wide, length, buffer.data(),
                                                    bytes, nullptr, nullptr);
            if (written > 0) result.Assign(buffer.data(), written);
        }
        return result;
    }
    return result;
}

}  // namespace link14
