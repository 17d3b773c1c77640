// Building and inspecting folder trees on the test prefix's drive.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/windows_fs.h"

namespace link14 {
namespace testing_fs {

using namespace test_fs;

// Attributes of the entry as the wide interface names it, or
// INVALID_FILE_ATTRIBUTES; independent of the 8-bit path code under test.
inline DWORD AttributesOf(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

inline bool MakeFolderW(const std::wstring& path) {
    return CreateDirectoryW(path.c_str(), nullptr);
}

inline bool MakeFileW(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

inline FILETIME FileTimeOfUnix(long long seconds) {
    const unsigned long long ticks =
        (static_cast<unsigned long long>(seconds) + 11644473600ULL) * 10000000ULL;
    FILETIME t;
    t.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFULL);
    t.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return t;
}

inline unsigned long long TicksOf(const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

inline std::string CurrentDirectory() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = GetCurrentDirectoryA(sizeof(buffer), buffer);
    return (n == 0 || n >= sizeof(buffer)) ? std::string() : std::string(buffer, n);
}

// Puts the current directory back when a test is done with it.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() : saved_(CurrentDirectory()) {}
    ~CurrentDirectoryGuard() { SetCurrentDirectoryA(saved_.c_str()); }
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    std::string saved_;
};

}  // namespace testing_fs
}  // namespace link14
