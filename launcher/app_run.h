// The package runtime's application runner, as the launcher sees it.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace link14 {

// {CAF3F30D-6A26-4FCB-B160-5353976D86D0}
const CLSID CLSID_AppRun = {
    0xCAF3F30D, 0x6A26, 0x4FCB, {0xB1, 0x60, 0x53, 0x53, 0x97, 0x6D, 0x86, 0xD0}};

// {A23D34D3-E586-4476-B8AD-6E9181541B49}
const IID IID_IAppRun = {
    0xA23D34D3, 0xE586, 0x4476, {0xB8, 0xAD, 0x6E, 0x91, 0x81, 0x54, 0x1B, 0x49}};

// Creation context: in-process server and handler, local and remote server.
const DWORD kAppRunClassContext = 0x17;

// Custom interface straight on IUnknown; the launcher calls Run and Release.
struct IAppRun : public IUnknown {
    // Hands over the whole command line and the show state; returns the
    // process exit code when the runtime has finished.
    virtual LONG STDMETHODCALLTYPE Run(BSTR commandLine, LONG showState) = 0;
};

}  // namespace link14
