// Stand-in for the runtime's user-interface component: an in-process server
// of the runner class. It records what Run received and returns a chosen
// value, steered by environment variables:
//   LINK14_APPRUN_RECORD  file that receives the record (see below)
//   LINK14_APPRUN_RESULT  decimal value that Run returns (default 0)
//   LINK14_APPRUN_REFUSE  when set, the class factory refuses to create
// Without a record file it prints what it received to standard output, so
// that it serves as the sample runtime of the main job.
//
// Record layout, little-endian: "ARUN", uint32 command-line units, the
// command line's UTF-16 units, int32 show state, uint32 locale bytes, the C
// runtime locale name seen inside Run (8-bit).
#include <windows.h>
#include <objbase.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "launcher/app_run.h"

namespace {

LONG g_locks = 0;
LONG g_objects = 0;

std::wstring Env(const wchar_t* name) {
    wchar_t buffer[1024];
    const DWORD n = GetEnvironmentVariableW(name, buffer, 1024);
    if (n == 0 || n >= 1024) return std::wstring();
    return std::wstring(buffer, n);
}

void Put(std::string& out, const void* data, size_t size) {
    out.append(static_cast<const char*>(data), size);
}

void WriteRecord(const std::wstring& path, BSTR commandLine, LONG showState) {
    std::string record("ARUN");
    const UINT32 units = commandLine ? SysStringLen(commandLine) : 0;
    Put(record, &units, 4);
    Put(record, commandLine, units * sizeof(WCHAR));
    const INT32 show = showState;
    Put(record, &show, 4);
    const char* locale = std::setlocale(LC_ALL, nullptr);
    const UINT32 localeBytes = locale ? static_cast<UINT32>(std::strlen(locale)) : 0;
    Put(record, &localeBytes, 4);
    Put(record, locale, localeBytes);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
}

void PrintReceived(BSTR commandLine, LONG showState) {
    const UINT units = commandLine ? SysStringLen(commandLine) : 0;
    std::string utf8;
    if (units) {
        const int n =
            WideCharToMultiByte(CP_UTF8, 0, commandLine, units, nullptr, 0, nullptr, nullptr);
        utf8.resize(n > 0 ? n : 0);
        if (n > 0)
            WideCharToMultiByte(CP_UTF8, 0, commandLine, units, &utf8[0], n, nullptr, nullptr);
    }
    std::string text = "AppRun.Run received the command line [" + utf8 + "] and show state " +
                       std::to_string(showState) + "\n";
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE)
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

class AppRun : public link14::IAppRun {
public:
    AppRun() : refs_(1) { InterlockedIncrement(&g_objects); }
    virtual ~AppRun() { InterlockedDecrement(&g_objects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, link14::IID_IAppRun)) {
            *out = static_cast<link14::IAppRun*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }
    LONG STDMETHODCALLTYPE Run(BSTR commandLine, LONG showState) override {
        const std::wstring record = Env(L"LINK14_APPRUN_RECORD");
        if (!record.empty()) {
            WriteRecord(record, commandLine, showState);
        } else {
            PrintReceived(commandLine, showState);
        }
        const std::wstring result = Env(L"LINK14_APPRUN_RESULT");
        return result.empty() ? 0 : static_cast<LONG>(std::wcstol(result.c_str(), nullptr, 10));
    }

private:
    LONG refs_;
};

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (!Env(L"LINK14_APPRUN_REFUSE").empty()) return E_FAIL;
        AppRun* object = new AppRun();
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            InterlockedIncrement(&g_locks);
        } else {
            InterlockedDecrement(&g_locks);
        }
        return S_OK;
    }
};

Factory g_factory;

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, link14::CLSID_AppRun)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return (g_locks == 0 && g_objects == 0) ? S_OK : S_FALSE;
}
