// Starting a copy of the built launcher as a child process, with the
// runner's test double beside it, and reading what the double recorded.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/paths.h"

namespace link14 {

const wchar_t kExeName[] = L"ONumra16LINK14.exe";
const wchar_t kServerName[] = L"ZRShotokuzeiUI.dll";

// What the double's Run saw (see tests/doubles/apprun).
struct Record {
    bool present = false;
    std::wstring commandLine;
    int showState = 0;
    std::string locale;
};

inline Record ReadRecord(const std::wstring& path) {
    Record r;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return r;
    std::vector<char> data(1 << 16);
    DWORD got = 0;
    ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    CloseHandle(file);
    data.resize(got);
    size_t at = 0;
    auto take = [&](void* out, size_t n) {
        if (at + n > data.size()) return false;
        memcpy(out, data.data() + at, n);
        at += n;
        return true;
    };
    char magic[4];
    UINT32 units = 0;
    if (!take(magic, 4) || memcmp(magic, "ARUN", 4) != 0 || !take(&units, 4)) return r;
    r.commandLine.resize(units);
    if (units && !take(&r.commandLine[0], units * 2)) return r;
    INT32 show = 0;
    UINT32 localeBytes = 0;
    if (!take(&show, 4) || !take(&localeBytes, 4)) return r;
    r.locale.resize(localeBytes);
    if (localeBytes && !take(&r.locale[0], localeBytes)) return r;
    r.showState = show;
    r.present = true;
    return r;
}

// A fresh folder holding a copy of the launcher, under `exeName`, and,
// optionally, the server.
class Install {
public:
    explicit Install(bool withServer, const wchar_t* exeName = kExeName) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        dir_ = std::wstring(temp) + L"link14-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++counter);
        CreateDirectoryW(dir_.c_str(), nullptr);
        exe_ = dir_ + L"\\" + exeName;
        CopyFileW(WindowsPath(EnvironmentText(L"LINK14_LAUNCHER_EXE")).c_str(), exe_.c_str(),
                  FALSE);
        if (withServer) {
            CopyFileW(WindowsPath(EnvironmentText(L"LINK14_APPRUN_DLL")).c_str(),
                      (dir_ + L"\\" + kServerName).c_str(), FALSE);
        }
        record_ = dir_ + L"\\record.bin";
    }
    const std::wstring& Exe() const { return exe_; }
    const std::wstring& Dir() const { return dir_; }
    const std::wstring& RecordPath() const { return record_; }

private:
    std::wstring dir_, exe_, record_;
};

// Sets an environment variable of this process, which children inherit,
// and puts back the value it had.
class ScopedEnv {
public:
    ScopedEnv(const wchar_t* name, const std::wstring& value) : name_(name) {
        wchar_t buffer[4096];
        const DWORD n = GetEnvironmentVariableW(name, buffer, 4096);
        had_ = n > 0 && n < 4096;
        if (had_) old_.assign(buffer, n);
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnv() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const wchar_t* name_;
    bool had_;
    std::wstring old_;
};

struct Child {
    PROCESS_INFORMATION info{};
    bool started = false;
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (started) {
            CloseHandle(info.hThread);
            CloseHandle(info.hProcess);
        }
    }
    DWORD Wait(DWORD ms = 60000) {
        if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) {
            TerminateProcess(info.hProcess, 0xDEAD);
            return 0xDEAD;
        }
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
};

// Starts the installed launcher in its own folder; `show` < 0 leaves the
// show state to the platform.
inline bool Start(Child& child, const Install& install, std::wstring commandLine, int show = -1) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (show >= 0) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(show);
    }
    child.started = CreateProcessW(install.Exe().c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                                   0, nullptr, install.Dir().c_str(), &si, &child.info) != 0;
    return child.started;
}

inline std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

}  // namespace link14
