#include "common/filefind.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "common/mbstring.h"
#include "common/splitpath.h"

namespace link14 {

namespace {

const int kPathBytes = MAX_PATH;  // platform path buffers, terminator included

// The record's name; the platform terminates it, the bound guards a record
// that no successful read has filled.
IString NameOf(const WIN32_FIND_DATAA& data) {
    const std::size_t length = strnlen(data.cFileName, sizeof(data.cFileName));
    return IString(data.cFileName, static_cast<int>(length));
}

bool EndsWithSeparator(const IString& text) {
    const int last = text.Length() - 1;
    return last >= 0 && (FindLastChar(text, '\\') == last || FindLastChar(text, '/') == last);
}

}  // namespace

TimeValue::TimeValue(const FILETIME& fileTime, int daylightFlag) : seconds_(0) {
    FILETIME local;
    SYSTEMTIME broken;
    if (!FileTimeToLocalFileTime(&fileTime, &local)) return;
    if (!FileTimeToSystemTime(&local, &broken)) return;
    seconds_ = TimeValue(broken, daylightFlag).seconds_;
}

TimeValue::TimeValue(const SYSTEMTIME& localTime, int daylightFlag) : seconds_(0) {
    if (localTime.wYear < 1900) return;
    std::tm parts = {};
    parts.tm_sec = localTime.wSecond;
    parts.tm_min = localTime.wMinute;
    parts.tm_hour = localTime.wHour;
    parts.tm_mday = localTime.wDay;
    parts.tm_mon = localTime.wMonth - 1;
    parts.tm_year = localTime.wYear - 1900;
    parts.tm_isdst = daylightFlag;
    seconds_ = _mktime64(&parts);
}

std::atomic<long> FindRecord::allocations_(0);
std::atomic<long> FindRecord::live_(0);

bool FindRecord::Allocate() {
    Free();
    data_ = static_cast<WIN32_FIND_DATAA*>(std::malloc(sizeof(WIN32_FIND_DATAA)));
    if (!data_) return false;
    ++allocations_;
    ++live_;
    return true;
}

void FindRecord::Free() {
    if (!data_) return;
    std::free(data_);
    data_ = nullptr;
    --live_;
}

void FindRecord::Swap(FindRecord& other) {
    WIN32_FIND_DATAA* const mine = data_;
    data_ = other.data_;
    other.data_ = mine;
}

void SearchHandle::Reset(HANDLE handle) {
    Close();
    handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

BOOL SearchHandle::Close() {
    if (!handle_) return FALSE;
    const BOOL closed = FindClose(handle_);
    // Forgotten even when the close failed: a handle is never closed twice.
    handle_ = nullptr;
    return closed;
}

IFileFind::IFileFind() : separator('\\') {}

IFileFind::~IFileFind() { Reset(); }

void IFileFind::Reset() {
    current.Free();
    lookAhead.Free();
    if (handle.IsOpen()) {
        EndSearch();
        handle.Close();  // in case EndSearch left it open
    }
}

IString IFileFind::EntryName() { return current ? NameOf(*current.Get()) : IString(); }

IString IFileFind::EntryPath() {
    IString path(root);
    if (!path.IsEmpty() && !EndsWithSeparator(path)) path += separator;
    path += EntryName();
    return path;
}

IString IFileFind::EntryStem() {
    const IString name = EntryName();
    char stem[kPathBytes + 1] = {};
    PathPieces pieces = {};
    pieces.fname = stem;
    pieces.fnameSize = sizeof(stem);
    SplitPathBounded(name.CStr(), pieces);
    return IString(stem);
}

IString IFileFind::EntryUrl() { return IString("file://") + EntryPath(); }

IString IFileFind::SearchRoot() { return root; }

int IFileFind::TimeOf(FILETIME WIN32_FIND_DATAA::*field, TimeValue& out) const {
    if (!current) return 0;
    out = TimeValue(current.Get()->*field, -1);
    return 1;
}

int IFileFind::RawTimeOf(FILETIME WIN32_FIND_DATAA::*field, FILETIME* out) const {
    if (!current || !out) return 0;
    *out = current.Get()->*field;
    return 1;
}

int IFileFind::WriteTime(TimeValue& out) { return TimeOf(&WIN32_FIND_DATAA::ftLastWriteTime, out); }

int IFileFind::RawWriteTime(FILETIME* out) {
    return RawTimeOf(&WIN32_FIND_DATAA::ftLastWriteTime, out);
}

int IFileFind::AccessTime(TimeValue& out) {
    return TimeOf(&WIN32_FIND_DATAA::ftLastAccessTime, out);
}

int IFileFind::RawAccessTime(FILETIME* out) {
    return RawTimeOf(&WIN32_FIND_DATAA::ftLastAccessTime, out);
}

int IFileFind::CreateTime(TimeValue& out) { return TimeOf(&WIN32_FIND_DATAA::ftCreationTime, out); }

int IFileFind::RawCreateTime(FILETIME* out) {
    return RawTimeOf(&WIN32_FIND_DATAA::ftCreationTime, out);
}

int IFileFind::HasAttribute(DWORD mask) {
    return current && (current->dwFileAttributes & mask) != 0 ? 1 : 0;
}

int IFileFind::IsDotEntry() {
    if (!current || !HasAttribute(FILE_ATTRIBUTE_DIRECTORY)) return 0;
    const char* name = current->cFileName;
    const bool dot = name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
    return dot ? 1 : 0;
}

int IFileFind::Open(const char* pattern) {
    Reset();
    if (!lookAhead.Allocate()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    if (!pattern) pattern = "*.*";

    handle.Reset(FindFirstFileA(pattern, lookAhead.Get()));
    if (!handle.IsOpen()) {
        const DWORD error = GetLastError();
        Reset();
        SetLastError(error);
        return 0;
    }

    char full[kPathBytes] = {};
    if (!_fullpath(full, pattern, sizeof(full))) {
        Reset();
        root.Empty();
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    root.Assign(full);
    const int backslash = FindLastChar(root, '\\');
    const int slash = FindLastChar(root, '/');
    const int cut = backslash > slash ? backslash : slash;
    if (cut >= 0) root = root.Left(cut);
    return 1;
}

int IFileFind::Advance() {
    if (!handle.IsOpen()) return 0;
    if (!current && !current.Allocate()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    current.Swap(lookAhead);
    return FindNextFileA(handle.Get(), lookAhead.Get());
}

BOOL IFileFind::EndSearch() { return handle.Close(); }

int FileExists(const char* path) {
    IFileFind find;
    const int found = find.Open(path);
    find.Reset();
    return found;
}

}  // namespace link14
