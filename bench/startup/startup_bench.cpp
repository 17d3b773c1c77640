// Start-up timings under Wine, with the platform's high-resolution counter.
//   startup_bench spawn N LAUNCHER BASELINE  starts the two, alternately, N
//                                             times each, as whole processes
//   startup_bench bootstrap N                 times InitLogging in this process
// Prints one "<what> <microseconds>" line per measurement.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "calendar/date.h"
#include "common/string_memory.h"
#include "logging/bootstrap.h"

namespace {

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1e6 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Starts `exe` and waits for it; the time from creation to its end, or a
// negative value when it could not run.
double TimeOneStart(const std::wstring& exe) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const LARGE_INTEGER start = Now();
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    const LARGE_INTEGER end = Now();
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0 ? Microseconds(start, end) : -1;
}

int Spawn(int runs, const std::wstring& launcher, const std::wstring& baseline) {
    for (int i = 0; i < runs; ++i) {
        // Which goes first alternates too, so that neither always follows
        // the other.
        const bool launcherFirst = (i % 2) == 0;
        for (int k = 0; k < 2; ++k) {
            const bool isLauncher = (k == 0) == launcherFirst;
            const double us = TimeOneStart(isLauncher ? launcher : baseline);
            if (us < 0) {
                std::fprintf(stderr, "startup_bench: %ls did not run to a 0 exit\n",
                             (isLauncher ? launcher : baseline).c_str());
                return 1;
            }
            std::printf("%s %.1f\n", isLauncher ? "launcher" : "baseline", us);
        }
    }
    return 0;
}

int Bootstrap(int runs) {
    for (int i = 0; i < runs; ++i) {
        const LARGE_INTEGER start = Now();
        link14::InitLogging();
        const LARGE_INTEGER end = Now();
        std::printf("%s %.1f\n", i == 0 ? "bootstrap-first" : "bootstrap",
                    Microseconds(start, end));
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // As the executable's static initialisation does before its entry.
    link14::StringMemory();
    link14::InitEraTable();
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 0;
    if (mode == L"spawn" && argc == 5 && runs > 0) return Spawn(runs, argv[3], argv[4]);
    if (mode == L"bootstrap" && argc == 3 && runs > 0) return Bootstrap(runs);
    std::fprintf(stderr,
                 "usage: startup_bench spawn N LAUNCHER BASELINE | startup_bench bootstrap N\n");
    return 2;
}
