// The text of the generated properties file, byte for byte, and the stream
// that puts it on disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "calendar/date.h"
#include "logging/properties.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace link14 {
namespace {

std::string Stamp(const IDate& date) {
    IString out;
    FormatDate(date, DF_YEAR | DF_MONTH | DF_DAY, out);
    return out.CStr();
}

const char kDocumentsLogFolder[] = "C:\\Users\\user\\Documents\\Orvak\\SystemLog";

TEST(LogProperties, ExampleTextByteForByte) {
    InitEraTable();
    const std::string text = ComposeLogProperties("ONumra16LINK14", kDocumentsLogFolder, 1, 0, 0, 0,
                                                  Stamp(IDate(2016, 1, 14)).c_str())
                                 .CStr();
    const std::string expected =
        "log4j.rootLogger = Info, oAppender\n"
        "log4j.appender.oAppender = org.apache.log4j.RollingFileAppender\n"
        "log4j.appender.oAppender.MaxFileSize = 5MB\n"
        "log4j.appender.oAppender.MaxBackupIndex = 1\n"
        R"(log4j.appender.oAppender.File = C:\\Users\\user\\Documents\\Orvak\\SystemLog\\ONumra16LINK14\\ONumra16LINK14.1.0.0Log_20160114.txt)"
        "\n"
        "log4j.appender.oAppender.layout = org.apache.log4j.PatternLayout\n"
        "log4j.appender.oAppender.layout.ConversionPattern = "
        "%d{yyyy-MM-dd HH:mm:ss} [%5p] %l %M - %m%n\n";
    EXPECT_EQ(expected, text);
}

TEST(LogProperties, PathsAreNotEscaped) {
    EXPECT_STREQ("C:\\Users\\user\\Documents\\Orvak\\SystemLog\\ONumra16LINK14.ini",
                 PropertiesPath(kDocumentsLogFolder, "ONumra16LINK14").CStr());
    EXPECT_STREQ("C:\\Users\\user\\Documents\\Orvak\\SystemLog\\ONumra16LINK14\\",
                 ProgramLogFolder(kDocumentsLogFolder, "ONumra16LINK14").CStr());
}

// The appender's File value for module "M": version numbers, date stamp and
// the log folder varied one at a time.
TEST(LogProperties, LogFileValue) {
    InitEraTable();
    const std::string example = Stamp(IDate(2016, 1, 14));
    struct Case {
        const char* what;
        const char* logFolder;
        std::int32_t major, minor, build, revision;
        std::string dateStamp;
        const char* expected;
    } cases[] = {
        {"start-up values", "C:\\L", 1, 0, 0, 0, example, R"(C:\\L\\M\\M.1.0.0Log_20160114.txt)"},
        {"revision written when not 0", "C:\\L", 1, 0, 0, 7, example,
         R"(C:\\L\\M\\M.1.0.0.7Log_20160114.txt)"},
        {"zeros always written", "C:\\L", 0, 0, 0, 0, example,
         R"(C:\\L\\M\\M.0.0.0Log_20160114.txt)"},
        {"negative numbers keep their sign", "C:\\L", -1, 2, -3, -4, example,
         R"(C:\\L\\M\\M.-1.2.-3.-4Log_20160114.txt)"},
        {"null date gives an empty stamp", "C:\\L", 1, 0, 0, 0, Stamp(IDate(0u)),
         R"(C:\\L\\M\\M.1.0.0Log_.txt)"},
        {"no documents folder", "\\Orvak\\SystemLog", 1, 0, 0, 0, example,
         R"(\\Orvak\\SystemLog\\M\\M.1.0.0Log_20160114.txt)"},
        // U+8868 is 0x95 0x5C in code page 932: its second byte is no separator.
        {"double-byte character with second byte 0x5C", "C:\\\x95\x5C\\L", 1, 0, 0, 0, example,
         "C:\\\\\x95\x5C\\\\L\\\\M\\\\M.1.0.0Log_20160114.txt"},
        {"two such characters in a row", "C:\\\x95\x5C\x95\x5C\\L", 1, 0, 0, 0, example,
         "C:\\\\\x95\x5C\x95\x5C\\\\L\\\\M\\\\M.1.0.0Log_20160114.txt"},
        {"single-byte katakana is no lead byte", "C:\\\xB1\\L", 1, 0, 0, 0, example,
         "C:\\\\\xB1\\\\L\\\\M\\\\M.1.0.0Log_20160114.txt"},
    };
#ifdef _WIN32
    const bool japanese = GetACP() == 932;
#else
    const bool japanese = true;  // the host's double-byte rules are those of 932
#endif
    for (const Case& c : cases) {
        if (!japanese && std::string(c.logFolder).find('\x95') != std::string::npos) continue;
        const IString value = LogFileValue("M", c.logFolder, c.major, c.minor, c.build, c.revision,
                                           c.dateStamp.c_str());
        EXPECT_STREQ(c.expected, value.CStr()) << c.what;
        // The same value is what line 5 carries, and nothing else changes.
        const IString text = ComposeLogProperties("M", c.logFolder, c.major, c.minor, c.build,
                                                  c.revision, c.dateStamp.c_str());
        EXPECT_STREQ(PropertiesText(value).CStr(), text.CStr()) << c.what;
        EXPECT_NE(std::string::npos,
                  std::string(text.CStr())
                      .find(std::string("\nlog4j.appender.oAppender.File = ") + c.expected + "\n"))
            << c.what;
    }
}

// --- The output stream ---------------------------------------------------

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class ScratchFolder {
public:
    ScratchFolder() {
        static int counter = 0;
#ifdef _WIN32
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "link14-props-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        CreateDirectoryA(path_.c_str(), nullptr);
#else
        path_ = "/tmp/link14-props-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        std::string command = "mkdir -p '" + path_ + "'";
        EXPECT_EQ(0, std::system(command.c_str()));
#endif
    }
    ~ScratchFolder() {
#ifdef _WIN32
        for (const std::string& f : files_) {
            SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(f.c_str());
        }
        RemoveDirectoryA(path_.c_str());
#else
        std::string command = "rm -rf '" + path_ + "'";
        std::system(command.c_str());
#endif
    }
    std::string File(const char* name) {
        files_.push_back(path_ + kSeparator + name);
        return files_.back();
    }

private:
#ifdef _WIN32
    static constexpr const char* kSeparator = "\\";
#else
    static constexpr const char* kSeparator = "/";
#endif
    std::string path_;
    std::vector<std::string> files_;
};

// Line feeds as the text-mode stream of this platform puts them on disk.
std::string OnDisk(std::string text) {
#ifdef _WIN32
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
#else
    return text;
#endif
}

TEST(TextFileOut, WritesTheTextAndReplacesLongerContentWhole) {
    ScratchFolder scratch;
    const std::string path = scratch.File("p.ini");
    const IString text = ComposeLogProperties("M", "C:\\L", 1, 0, 0, 0, "20160114");
    const std::string before[] = {"", "short", std::string(4096, 'x') + "\r\ntail\r\n"};
    for (const std::string& old : before) {
        WriteBytes(path, old);
        TextFileOut out;
        ASSERT_TRUE(out.Open(path.c_str()));
        out.Write(text);
        out.Close();
        EXPECT_EQ(OnDisk(text.CStr()), ReadBytes(path)) << old.size() << " bytes before";
    }
#ifdef _WIN32
    // Seven lines, each ending in CR LF, and nothing after the last.
    const std::string disk = ReadBytes(path);
    int lines = 0;
    for (std::size_t i = 0; i < disk.size(); ++i) {
        if (disk[i] == '\n') {
            ++lines;
            ASSERT_GT(i, 0u);
            EXPECT_EQ('\r', disk[i - 1]);
        }
    }
    EXPECT_EQ(7, lines);
    EXPECT_EQ("\r\n", disk.substr(disk.size() - 2));
#endif
}

TEST(TextFileOut, UnopenableFileIsHarmless) {
    ScratchFolder scratch;
    const std::string path = scratch.File("missing-folder");
    const std::string inside = path + "/p.ini";
    TextFileOut out;
    EXPECT_FALSE(out.Open(inside.c_str()));
    EXPECT_FALSE(out.IsOpen());
    out.Write("text\n");
    out.Close();
    EXPECT_FALSE(out.Open(nullptr));
    EXPECT_TRUE(ReadBytes(inside).empty());
}

#ifdef _WIN32
std::wstring Wide(const std::string& s) {
    return std::wstring(s.begin(), s.end());  // the scratch paths are ASCII
}

// Another process may read and write the file while it is open, and the file
// opens while another process holds it with the usual sharing.
TEST(TextFileOut, PutsNoSharingRestrictionOnTheFile) {
    ScratchFolder scratch;
    const std::string path = scratch.File("shared.ini");
    {
        TextFileOut out;
        ASSERT_TRUE(out.Open(path.c_str()));
        out.Write("first\n");
        HANDLE other = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, other) << GetLastError();
        CloseHandle(other);
    }
    HANDLE holder = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    {
        TextFileOut out;
        EXPECT_TRUE(out.Open(path.c_str()));
        out.Write("second\n");
    }
    CloseHandle(holder);
    EXPECT_EQ("second\r\n", ReadBytes(path));

    // A holder that denies writing keeps the file from being opened; the
    // write is then skipped without a word.
    holder = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    {
        TextFileOut out;
        EXPECT_FALSE(out.Open(path.c_str()));
        out.Write("third\n");
    }
    CloseHandle(holder);
    EXPECT_EQ("second\r\n", ReadBytes(path));
}
#endif

}  // namespace
}  // namespace link14
