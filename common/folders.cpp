#include "common/folders.h"

#include <windows.h>

#include <cstring>

#include "common/filefind.h"
#include "common/istring.h"
#include "common/mbstring.h"
#include "common/splitpath.h"

namespace link14 {

namespace {

const int kFolderCreate = 0x8000;  // CSIDL_FLAG_CREATE
const DWORD kCurrentPath = 0;      // SHGFP_TYPE_CURRENT
const DWORD kDefaultPath = 1;      // SHGFP_TYPE_DEFAULT
const int kPersonalFolder = 5;     // CSIDL_PERSONAL

typedef HRESULT(WINAPI* GetFolderPathFn)(HWND, int, HANDLE, DWORD, LPSTR);

// The shell folder library, bound for one lookup only.
class ShellLibrary {
public:
    ShellLibrary() : module_(LoadLibraryA("shfolder.dll")) {}
    ~ShellLibrary() {
        if (module_) FreeLibrary(module_);
    }
    ShellLibrary(const ShellLibrary&) = delete;
    ShellLibrary& operator=(const ShellLibrary&) = delete;

    GetFolderPathFn GetFolderPath() const {
        if (!module_) return nullptr;
        const FARPROC entry = GetProcAddress(module_, "SHGetFolderPathA");
        // Through the generic function type, which converts to any other.
        return reinterpret_cast<GetFolderPathFn>(reinterpret_cast<void (*)()>(entry));
    }

private:
    HMODULE module_;
};

int Attempt(GetFolderPathFn getFolderPath, int folderId, DWORD type, char* buffer) {
    const HRESULT result = getFolderPath(nullptr, folderId, nullptr, type, buffer);
    // A misbehaving provider must not leave the buffer unterminated.
    buffer[kFolderPathBytes - 1] = '\0';
    return SUCCEEDED(result) && buffer[0] != '\0' ? 1 : 0;
}

bool EndsWithBackslash(const IString& text) {
    const int last = FindLastChar(text, '\\');
    return last >= 0 && last == text.Length() - 1;
}

bool EndsWithSeparator(const IString& text) {
    const int last = text.Length() - 1;
    return last >= 0 && (FindLastChar(text, '\\') == last || FindLastChar(text, '/') == last);
}

}  // namespace

int LookupShellFolder(char* buffer, int folderId, int allowCreate) {
    if (!buffer) return 0;
    buffer[0] = '\0';
    const ShellLibrary library;
    const GetFolderPathFn getFolderPath = library.GetFolderPath();
    if (!getFolderPath) return 0;
    if (Attempt(getFolderPath, folderId, kCurrentPath, buffer)) return 1;
    if (!allowCreate) return 0;
    return Attempt(getFolderPath, folderId | kFolderCreate, kDefaultPath, buffer);
}

int LookupDocumentsFolder(char* buffer) { return LookupShellFolder(buffer, kPersonalFolder, 1); }

int MakeDirectory(const char* path) {
    if (!path) return 0;
    return CreateDirectoryA(path, nullptr) ? 1 : 0;
}

int MakeDirectoryTree(const char* path) {
    IString trimmed(path);
    if (EndsWithBackslash(trimmed)) trimmed = SafeLeft(trimmed, trimmed.Length() - 1);

    IString parent;
    {
        const ISplitPath split(trimmed.CStr());
        if (!split.drive || !split.dir) return 0;
        if (std::strlen(split.dir) <= 1) return MakeDirectory(path);
        parent = IString(split.drive) + split.dir;
        // A folder part too long for the splitter comes back cut inside a
        // name; what is left is no ancestor of the path.
        if (!EndsWithSeparator(IString(split.dir))) return 0;
    }
    if (EndsWithBackslash(parent)) parent = SafeLeft(parent, parent.Length() - 1);
    // A path ending in '/' is its own parent; refuse rather than recurse on it.
    if (parent.Length() >= trimmed.Length()) return 0;

    int parentIsFolder = 0;
    {
        IFileFind find;
        if (find.Open(parent.CStr())) {
            find.Advance();
            parentIsFolder = find.HasAttribute(FILE_ATTRIBUTE_DIRECTORY);
        } else {
            parentIsFolder = MakeDirectoryTree(parent.CStr());
        }
    }
    return parentIsFolder ? MakeDirectory(path) : 0;
}

}  // namespace link14
