// File-system helpers of the Windows logging tests, on the wide interface so
// that they stay independent of the 8-bit code under test.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/windows_fs.h"

namespace link14 {
namespace logging_test {

using namespace test_fs;

// Creates `path` and its missing parents.
inline void MakeFolders(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos;
         at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

// The names in a folder, sorted, without "." and "..".
inline std::vector<std::wstring> Entries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(h, &data));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

inline bool ReadBytes(const std::wstring& path, std::string& out) {
    out.clear();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(h);
    return true;
}

inline std::string BytesOf(const std::wstring& path) {
    std::string bytes;
    ReadBytes(path, bytes);
    return bytes;
}

inline bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

// Whether the platform refuses to open `path` for writing. Not so for a
// read-only file under Wine run by the superuser, who may write anything.
inline bool RefusesWriting(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    CloseHandle(h);
    return false;
}

// Today's stamp as the log file name carries it, from the platform's clock.
inline std::string TodayStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    wsprintfA(text, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

// Every backslash doubled; for paths without double-byte characters.
inline std::string DoubleAsciiBackslashes(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\\') out += c;
    }
    return out;
}

// The file the executable writes, as it lies on disk, for a program log
// folder value already escaped.
inline std::string ExpectedProperties(const std::string& escapedProgramFolder,
                                      const std::string& moduleName, const std::string& stamp) {
    return "log4j.rootLogger = Info, oAppender\r\n"
           "log4j.appender.oAppender = org.apache.log4j.RollingFileAppender\r\n"
           "log4j.appender.oAppender.MaxFileSize = 5MB\r\n"
           "log4j.appender.oAppender.MaxBackupIndex = 1\r\n"
           "log4j.appender.oAppender.File = " +
           escapedProgramFolder + moduleName + ".1.0.0Log_" + stamp +
           ".txt\r\n"
           "log4j.appender.oAppender.layout = org.apache.log4j.PatternLayout\r\n"
           "log4j.appender.oAppender.layout.ConversionPattern = "
           "%d{yyyy-MM-dd HH:mm:ss} [%5p] %l %M - %m%n\r\n";
}

}  // namespace logging_test
}  // namespace link14
