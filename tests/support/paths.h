// Small helpers of the Windows tests: environment and path conversion.
#pragma once

#include <windows.h>

#include <string>

namespace link14 {

inline std::wstring EnvironmentText(const wchar_t* name) {
    wchar_t buffer[2048];
    const DWORD n = GetEnvironmentVariableW(name, buffer, 2048);
    return (n == 0 || n >= 2048) ? std::wstring() : std::wstring(buffer, n);
}

// Build paths reach the tests as host paths; Wine shows the host's root as Z:.
inline std::wstring WindowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

}  // namespace link14
