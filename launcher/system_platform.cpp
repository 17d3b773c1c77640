#include "launcher/fatal_error.h"
#include "launcher/hand_off.h"
#include "logging/bootstrap.h"

namespace link14 {

const LauncherPlatform& SystemPlatform() {
    static const LauncherPlatform platform = {
        &InitLogging,       &GetCommandLineA, &CoInitialize,
        &CoCreateInstance,  &CoUninitialize,  &MultiByteToWideChar,
        &SysAllocStringLen, &SysFreeString,   &ShowFatalError,
    };
    return platform;
}

}  // namespace link14
