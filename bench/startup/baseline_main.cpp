// The launcher less its logging bootstrap: the yardstick for what the
// bootstrap adds to a start. Built for the start-up benchmark only.
#include <windows.h>

#include "launcher/fatal_error.h"
#include "launcher/hand_off.h"

namespace {

void NoLogging() {}

const link14::LauncherPlatform& BaselinePlatform() {
    static const link14::LauncherPlatform platform = {
        &NoLogging,         &GetCommandLineA, &CoInitialize,
        &CoCreateInstance,  &CoUninitialize,  &MultiByteToWideChar,
        &SysAllocStringLen, &SysFreeString,   &link14::ShowFatalError,
    };
    return platform;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showState) {
    return link14::LauncherMain(BaselinePlatform(), showState);
}
