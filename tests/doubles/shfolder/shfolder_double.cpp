// Stand-in for the shell folder library. It answers from the process
// environment and writes what happened to it there, so that a test sees
// every load, call and unload even though the library is gone afterwards:
//   LINK14_SHFOLDER_CURRENT  answer for the current path: "empty" (default),
//                            "path" or "fail"
//   LINK14_SHFOLDER_DEFAULT  answer for the default path: "path" (default),
//                            "empty" or "fail"
//   LINK14_SHFOLDER_LOG      appended: "load;", "ID:TYPE;" per call (with a
//                            '!' when a window or token was passed), "unload;"
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char kLog[] = "LINK14_SHFOLDER_LOG";
const char kCurrentAnswer[] = "C:\\stand-in\\current";
const char kDefaultAnswer[] = "C:\\stand-in\\default";
const char kUntouched[] = "C:\\stand-in\\failed";
const int kPathBytes = 260;

void Log(const char* entry) {
    char text[4096] = {};
    const DWORD n = GetEnvironmentVariableA(kLog, text, sizeof(text));
    if (n >= sizeof(text)) text[0] = '\0';
    const std::size_t used = std::strlen(text);
    std::snprintf(text + used, sizeof(text) - used, "%s", entry);
    SetEnvironmentVariableA(kLog, text);
}

bool AnswerIs(const char* name, const char* answer, const char* fallback) {
    char value[32] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
    const char* chosen = (n == 0 || n >= sizeof(value)) ? fallback : value;
    return std::strcmp(chosen, answer) == 0;
}

HRESULT Answer(const char* variable, const char* fallback, const char* path, char* buffer) {
    if (AnswerIs(variable, "fail", fallback)) {
        // What a failing provider leaves is no path to rely on.
        std::snprintf(buffer, kPathBytes, "%s", kUntouched);
        return E_FAIL;
    }
    std::snprintf(buffer, kPathBytes, "%s", AnswerIs(variable, "path", fallback) ? path : "");
    return S_OK;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Log("load;");
    if (reason == DLL_PROCESS_DETACH) Log("unload;");
    return TRUE;
}

extern "C" HRESULT WINAPI SHGetFolderPathA(HWND window, int folder, HANDLE token, DWORD type,
                                           LPSTR buffer) {
    char entry[64];
    std::snprintf(entry, sizeof(entry), "%d:%lu%s;", folder, static_cast<unsigned long>(type),
                  (window || token) ? "!" : "");
    Log(entry);
    if (!buffer) return E_INVALIDARG;
    if (type == 0) return Answer("LINK14_SHFOLDER_CURRENT", "empty", kCurrentAnswer, buffer);
    return Answer("LINK14_SHFOLDER_DEFAULT", "path", kDefaultAnswer, buffer);
}
