#include "launcher/hand_off.h"

#include "launcher/app_run.h"

namespace link14 {

namespace {

// Owns the runner: one Release when it goes.
class RunnerRef {
public:
    RunnerRef() : runner_(nullptr) {}
    ~RunnerRef() {
        if (runner_) runner_->Release();
    }
    RunnerRef(const RunnerRef&) = delete;
    RunnerRef& operator=(const RunnerRef&) = delete;
    void** Out() { return reinterpret_cast<void**>(&runner_); }
    IAppRun* operator->() const { return runner_; }

private:
    IAppRun* runner_;
};

// Owns a BSTR, freed through the platform.
class BstrRef {
public:
    BstrRef(const LauncherPlatform& platform, BSTR text) : platform_(platform), text_(text) {}
    ~BstrRef() {
        if (text_) platform_.sysFreeString(text_);
    }
    BstrRef(const BstrRef&) = delete;
    BstrRef& operator=(const BstrRef&) = delete;
    BSTR Get() const { return text_; }

private:
    const LauncherPlatform& platform_;
    BSTR text_;
};

// The command line as a BSTR in the thread's ANSI code page; an empty line
// gives an empty BSTR, never null. Null when memory runs out or the line
// cannot be converted, so that the runner never gets a wrong one.
BSTR ToBstr(const LauncherPlatform& platform, const char* text) {
    if (!text || !*text) return platform.sysAllocStringLen(L"", 0);
    const int wideLength = platform.multiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (wideLength <= 1) return nullptr;
    // Allocated with room for the terminator that the conversion writes.
    BSTR wide = platform.sysAllocStringLen(nullptr, static_cast<UINT>(wideLength - 1));
    if (!wide) return nullptr;
    if (platform.multiByteToWideChar(CP_THREAD_ACP, 0, text, -1, wide, wideLength) != wideLength) {
        platform.sysFreeString(wide);
        return nullptr;
    }
    return wide;
}

}  // namespace

int RunApplication(const LauncherPlatform& platform, const char* commandLine, int showState) {
    // Declared first so that it is released after the BSTR is freed.
    RunnerRef runner;
    const HRESULT created = platform.coCreateInstance(CLSID_AppRun, nullptr, kAppRunClassContext,
                                                      IID_IAppRun, runner.Out());
    if (FAILED(created)) {
        platform.showFatalError(kIdsAppRunCreateFailed);
        return kExitRunnerNotCreated;
    }
    BstrRef line(platform, ToBstr(platform, commandLine));
    // No faithful copy of the line: the runner never runs.
    if (!line.Get()) return kExitRunnerNotCreated;
    return static_cast<int>(runner->Run(line.Get(), static_cast<LONG>(showState)));
}

int LauncherMain(const LauncherPlatform& platform, int showState) {
    platform.initLogging();
    const char* commandLine = platform.getCommandLineA();
    if (FAILED(platform.coInitialize(nullptr))) return kExitComInitFailed;
    const int result = RunApplication(platform, commandLine, showState);
    platform.coUninitialize();
    return result;
}

}  // namespace link14
