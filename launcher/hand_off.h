// Program entry and runtime hand-off, with every platform call injectable so
// that the sequence can be tested without COM.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace link14 {

struct LauncherPlatform {
    void (*initLogging)();
    LPSTR(WINAPI* getCommandLineA)();
    HRESULT(WINAPI* coInitialize)(LPVOID reserved);
    HRESULT(WINAPI* coCreateInstance)
    (REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);
    void(WINAPI* coUninitialize)();
    int(WINAPI* multiByteToWideChar)(UINT codePage, DWORD flags, LPCCH text, int length,
                                     LPWSTR wide, int wideLength);
    BSTR(WINAPI* sysAllocStringLen)(const OLECHAR* text, UINT length);
    void(WINAPI* sysFreeString)(BSTR text);
    void (*showFatalError)(UINT stringId);
};

// The platform's own functions.
const LauncherPlatform& SystemPlatform();

// Catalogue message shown when the runner cannot be created.
const UINT kIdsAppRunCreateFailed = 10010;

// Exit codes of the launcher's own.
const int kExitComInitFailed = 1;
const int kExitRunnerNotCreated = -1;

// Creates the runner and runs it; -1 when it cannot be created, else the
// value Run returned. Called between COM initialisation and uninitialisation.
int RunApplication(const LauncherPlatform& platform, const char* commandLine, int showState);

// Everything WinMain does, in order.
int LauncherMain(const LauncherPlatform& platform, int showState);

}  // namespace link14
