#include "common/string_memory.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace link14 {

#ifdef _WIN32
StringMemoryManager::StringMemoryManager() : heap_(GetProcessHeap()) {}
#else
StringMemoryManager::StringMemoryManager() {}
#endif

void* StringMemoryManager::Allocate(std::size_t bytes) {
#ifdef _WIN32
    void* p = HeapAlloc(heap_ ? heap_ : GetProcessHeap(), 0, bytes ? bytes : 1);
#else
    void* p = std::malloc(bytes ? bytes : 1);
#endif
    if (!p) std::abort();
    return p;
}

void* StringMemoryManager::Reallocate(void* block, std::size_t bytes) {
    if (!block) return Allocate(bytes);
#ifdef _WIN32
    void* p = HeapReAlloc(heap_ ? heap_ : GetProcessHeap(), 0, block, bytes ? bytes : 1);
#else
    void* p = std::realloc(block, bytes ? bytes : 1);
#endif
    if (!p) std::abort();
    return p;
}

StringMemoryManager& StringMemory() {
    static StringMemoryManager manager;
    return manager;
}

void StringMemoryManager::Free(void* block) {
    if (!block) return;
#ifdef _WIN32
    HeapFree(heap_ ? heap_ : GetProcessHeap(), 0, block);
#else
    std::free(block);
#endif
}

}  // namespace link14
