// Directory search over find-first / find-next, one entry read ahead.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "common/istring.h"

namespace link14 {

// Seconds since 1970-01-01 00:00:00 UTC (the 64-bit time_t); 0 means no time.
class TimeValue {
public:
    TimeValue() : seconds_(0) {}
    explicit TimeValue(std::int64_t seconds) : seconds_(seconds) {}
    // A UTC file time, taken through local time. 0 when a conversion fails or
    // the local date lies before 1900; -1 outside the runtime's range.
    TimeValue(const FILETIME& fileTime, int daylightFlag);
    // A local broken-down time; `daylightFlag` -1 lets the runtime decide.
    TimeValue(const SYSTEMTIME& localTime, int daylightFlag);

    std::int64_t Seconds() const { return seconds_; }

private:
    std::int64_t seconds_;
};

// One WIN32_FIND_DATAA, owned whole and released with the plain allocator.
class FindRecord {
public:
    FindRecord() : data_(nullptr) {}
    ~FindRecord() { Free(); }
    FindRecord(const FindRecord&) = delete;
    FindRecord& operator=(const FindRecord&) = delete;

    // False when memory is short; the record then stays empty.
    bool Allocate();
    void Free();
    void Swap(FindRecord& other);

    WIN32_FIND_DATAA* Get() const { return data_; }
    WIN32_FIND_DATAA* operator->() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

    // Process-wide counts, so that the record budget of a search can be seen.
    static long Allocations() { return allocations_.load(); }
    static long Live() { return live_.load(); }

private:
    WIN32_FIND_DATAA* data_;
    static std::atomic<long> allocations_;
    static std::atomic<long> live_;
};

// A find-first search handle; null when no search is open.
class SearchHandle {
public:
    SearchHandle() : handle_(nullptr) {}
    ~SearchHandle() { Close(); }
    SearchHandle(const SearchHandle&) = delete;
    SearchHandle& operator=(const SearchHandle&) = delete;

    // Takes over `handle`; the invalid-handle value is stored as null.
    void Reset(HANDLE handle);
    // Closes the search once; the platform's result, FALSE when none was open.
    BOOL Close();

    HANDLE Get() const { return handle_; }
    bool IsOpen() const { return handle_ != nullptr; }

private:
    HANDLE handle_;
};

class IFileFind {
public:
    IFileFind();
    IFileFind(const IFileFind&) = delete;
    IFileFind& operator=(const IFileFind&) = delete;
    virtual ~IFileFind();

    // The current entry's name; empty when there is none.
    virtual IString EntryName();
    // The search folder, the separator when it does not end in one, the name.
    virtual IString EntryPath();
    // The name without its extension.
    virtual IString EntryStem();
    // "file://" and the entry path, unescaped.
    virtual IString EntryUrl();
    virtual IString SearchRoot();
    // 1 and `out` set when there is a current entry; else 0, `out` untouched.
    virtual int WriteTime(TimeValue& out);
    // 1 and the record's file time copied when there is a current entry and
    // `out` is not null; else 0.
    virtual int RawWriteTime(FILETIME* out);
    virtual int AccessTime(TimeValue& out);
    virtual int RawAccessTime(FILETIME* out);
    virtual int CreateTime(TimeValue& out);
    virtual int RawCreateTime(FILETIME* out);
    // 1 when the current entry has at least one of the bits of `mask`.
    virtual int HasAttribute(DWORD mask);
    // 1 for the directory entries "." and "..".
    virtual int IsDotEntry();
    // Starts a search for `pattern` ("*.*" when null); 1 when something
    // matched. On failure the thread's last-error code says why.
    virtual int Open(const char* pattern);
    // Moves to the entry read ahead; nonzero while another one was read.
    virtual int Advance();
    // Closes the search handle; the platform's result.
    virtual BOOL EndSearch();

    // Ends the search and frees both records; the root is kept.
    void Reset();

private:
    int TimeOf(FILETIME WIN32_FIND_DATAA::*field, TimeValue& out) const;
    int RawTimeOf(FILETIME WIN32_FIND_DATAA::*field, FILETIME* out) const;

    FindRecord current;
    FindRecord lookAhead;
    SearchHandle handle;
    IString root;
    char separator;
};

// 1 when `path` names an existing file or folder, or a wildcard matches.
int FileExists(const char* path);

}  // namespace link14
