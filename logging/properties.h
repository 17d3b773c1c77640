// The per-program log properties file: what it says and how it reaches disk.
#pragma once

#include <cstdint>
#include <cstdio>

#include "common/istring.h"

namespace link14 {

// logFolder, a backslash, the module name and ".ini".
IString PropertiesPath(const IString& logFolder, const char* moduleName);

// logFolder, a backslash, the module name and a closing backslash.
IString ProgramLogFolder(const IString& logFolder, const char* moduleName);

// ".major.minor.build", then ".revision" only when revision is not 0.
IString VersionText(std::int32_t major, std::int32_t minor, std::int32_t build,
                    std::int32_t revision);

// Every backslash doubled, as the properties format wants it; the second byte
// of a double-byte character is not a backslash and stays single.
IString EscapeBackslashes(const IString& text);

// The rolling appender's file: the escaped program log folder, the module
// name, the version text, "Log_", the date stamp and ".txt".
IString LogFileValue(const char* moduleName, const IString& logFolder, std::int32_t major,
                     std::int32_t minor, std::int32_t build, std::int32_t revision,
                     const IString& dateStamp);

// The seven lines of the file, each ending in a line feed, which the
// text-mode stream writes as CR LF.
IString PropertiesText(const IString& logFileValue);

// PropertiesText of LogFileValue.
IString ComposeLogProperties(const char* moduleName, const IString& logFolder, std::int32_t major,
                             std::int32_t minor, std::int32_t build, std::int32_t revision,
                             const IString& dateStamp);

// An 8-bit text-mode output file. Opening creates or truncates it and puts
// no sharing restriction on it, so that another instance starting at the
// same moment can open it too.
class TextFileOut {
public:
    TextFileOut() : file_(nullptr) {}
    ~TextFileOut() { Close(); }
    TextFileOut(const TextFileOut&) = delete;
    TextFileOut& operator=(const TextFileOut&) = delete;

    bool Open(const char* path);
    bool IsOpen() const { return file_ != nullptr; }
    // Nothing happens when the file is not open; write errors are not kept.
    void Write(const IString& text);
    void Close();

private:
    std::FILE* file_;
};

}  // namespace link14
