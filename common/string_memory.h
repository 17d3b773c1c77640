// The one process-wide memory manager behind every counted string.
#pragma once

#include <cstddef>

namespace link14 {

class StringMemoryManager {
public:
    StringMemoryManager();
    StringMemoryManager(const StringMemoryManager&) = delete;
    StringMemoryManager& operator=(const StringMemoryManager&) = delete;

    // Allocation failure is not handled by callers: these abort the process
    // rather than hand back null.
    void* Allocate(std::size_t bytes);
    void* Reallocate(void* block, std::size_t bytes);
    void Free(void* block);

private:
#ifdef _WIN32
    void* heap_;  // the process heap
#endif
};

// The process-wide instance, constructed on first use. The program's start-up
// unit touches it during static initialisation, so that it exists before any
// string does and is torn down after the last one.
StringMemoryManager& StringMemory();

}  // namespace link14
