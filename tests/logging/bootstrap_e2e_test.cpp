// The built executable started with the runner's double beside it: what the
// logging bootstrap leaves in the log folder, and that start-up always goes
// on to Run.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/logging/windows_fs.h"
#include "tests/support/launch.h"

namespace link14 {
namespace logging_test {
namespace {

const char kModule[] = "ONumra16LINK14";

std::wstring DocumentsFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::wstring();
    return path;
}

// The C runtime's name for the user's default locale, as the runner would
// see it after the bootstrap set it.
std::string UserDefaultLocale() {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const std::string userDefault = std::setlocale(LC_ALL, "");
    std::setlocale(LC_ALL, before.c_str());
    return userDefault;
}

struct Outcome {
    DWORD exitCode = 0;
    Record record;
    std::string before, after;  // the day before and after the run
};

Outcome RunLauncher(const Install& install) {
    ScopedEnv record(L"LINK14_APPRUN_RECORD", install.RecordPath());
    Outcome o;
    o.before = TodayStamp();
    Child child;
    if (!Start(child, install, Quoted(install.Exe()))) {
        o.exitCode = 0xBAD;
        return o;
    }
    o.exitCode = child.Wait();
    o.after = TodayStamp();
    o.record = ReadRecord(install.RecordPath());
    return o;
}

class LoggingBootstrapEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        documents_ = DocumentsFolder();
        ASSERT_FALSE(documents_.empty());
        // A fresh start: no log folder, nor the maker's folder above it.
        RemoveTree(documents_ + L"\\Orvak");
        ASSERT_FALSE(Exists(documents_ + L"\\Orvak"));
    }
    void TearDown() override { RemoveTree(documents_ + L"\\Orvak"); }

    std::wstring LogFolder() const { return documents_ + L"\\Orvak\\SystemLog"; }

    // Whether `bytes` is the per-program file of `module` in a log folder
    // below `documents` (no double-byte characters) for the day of `o`.
    static bool IsExpectedFile(const std::string& bytes, const std::wstring& documents,
                               const std::string& module, const Outcome& o) {
        const std::string folder =
            DoubleAsciiBackslashes(Ansi(documents) + "\\Orvak\\SystemLog\\" + module + "\\");
        return bytes == ExpectedProperties(folder, module, o.before) ||
               bytes == ExpectedProperties(folder, module, o.after);
    }

    std::wstring documents_;
};

TEST_F(LoggingBootstrapEndToEnd, FreshStartWritesThePerProgramFileAndFolder) {
    Install install(true);
    const Outcome o = RunLauncher(install);
    EXPECT_EQ(0u, o.exitCode);
    ASSERT_TRUE(o.record.present);
    EXPECT_EQ(UserDefaultLocale(), o.record.locale);
    EXPECT_NE("C", o.record.locale);

    EXPECT_EQ((std::vector<std::wstring>{L"ONumra16LINK14", L"ONumra16LINK14.ini"}),
              Entries(LogFolder()));
    EXPECT_TRUE(IsFolder(LogFolder() + L"\\ONumra16LINK14"));
    const std::string bytes = BytesOf(LogFolder() + L"\\ONumra16LINK14.ini");
    EXPECT_TRUE(IsExpectedFile(bytes, documents_, kModule, o)) << bytes;
}

TEST_F(LoggingBootstrapEndToEnd, OlderLongerFileIsReplacedWhole) {
    MakeFolders(LogFolder() + L"\\ONumra16LINK14");
    const std::string older =
        "log4j.rootLogger = Debug, oAppender\r\n" + std::string(8000, '#') + "\r\nend\r\n";
    ASSERT_TRUE(WriteBytes(LogFolder() + L"\\ONumra16LINK14.ini", older));
    ASSERT_TRUE(WriteBytes(LogFolder() + L"\\ONumra16LINK14\\ONumra16LINK14.1.0.0Log_20160114.txt",
                           "an earlier day's log"));
    Install install(true);
    const Outcome o = RunLauncher(install);
    EXPECT_EQ(0u, o.exitCode);
    EXPECT_TRUE(o.record.present);
    const std::string bytes = BytesOf(LogFolder() + L"\\ONumra16LINK14.ini");
    EXPECT_TRUE(IsExpectedFile(bytes, documents_, kModule, o)) << bytes.size() << " bytes";
    EXPECT_EQ("an earlier day's log",
              BytesOf(LogFolder() + L"\\ONumra16LINK14\\ONumra16LINK14.1.0.0Log_20160114.txt"));
}

TEST_F(LoggingBootstrapEndToEnd, SharedConfigurationTakesPrecedence) {
    struct Case {
        const char* what;
        bool asFolder;
        bool perProgramBeside;
    } cases[] = {
        {"shared file", false, false},
        {"shared file beside a per-program one", false, true},
        {"folder named like the shared file", true, false},
    };
    for (const Case& c : cases) {
        RemoveTree(documents_ + L"\\Orvak");
        MakeFolders(LogFolder());
        const std::wstring shared = LogFolder() + L"\\ODefault.ini";
        if (c.asFolder) {
            ASSERT_TRUE(CreateDirectoryW(shared.c_str(), nullptr));
        } else {
            ASSERT_TRUE(WriteBytes(shared, "log4j.rootLogger = Warn\r\n"));
        }
        const std::string older = "older per-program content\r\n";
        if (c.perProgramBeside)
            ASSERT_TRUE(WriteBytes(LogFolder() + L"\\ONumra16LINK14.ini", older));
        const std::vector<std::wstring> entries = Entries(LogFolder());

        Install install(true);
        const Outcome o = RunLauncher(install);
        EXPECT_EQ(0u, o.exitCode) << c.what;
        ASSERT_TRUE(o.record.present) << c.what;
        // The start-up locale of the C runtime: nothing set it.
        EXPECT_EQ("C", o.record.locale) << c.what;
        EXPECT_EQ(entries, Entries(LogFolder())) << c.what;
        EXPECT_FALSE(Exists(LogFolder() + L"\\ONumra16LINK14")) << c.what;
        if (c.perProgramBeside) EXPECT_EQ(older, BytesOf(LogFolder() + L"\\ONumra16LINK14.ini"));
        if (c.asFolder) EXPECT_TRUE(Entries(shared).empty()) << c.what;
        if (!c.asFolder) EXPECT_EQ("log4j.rootLogger = Warn\r\n", BytesOf(shared)) << c.what;
    }
}

TEST_F(LoggingBootstrapEndToEnd, CopyUnderAnotherNameGetsItsOwnFileAndFolder) {
    Install install(true, L"OCopy16Link99.exe");
    const Outcome o = RunLauncher(install);
    EXPECT_EQ(0u, o.exitCode);
    EXPECT_TRUE(o.record.present);
    EXPECT_EQ((std::vector<std::wstring>{L"OCopy16Link99", L"OCopy16Link99.ini"}),
              Entries(LogFolder()));
    EXPECT_TRUE(IsFolder(LogFolder() + L"\\OCopy16Link99"));
    const std::string bytes = BytesOf(LogFolder() + L"\\OCopy16Link99.ini");
    EXPECT_TRUE(IsExpectedFile(bytes, documents_, "OCopy16Link99", o)) << bytes;
}

// A per-program file that cannot be opened: the earlier file stays, and
// start-up goes on to Run.
TEST_F(LoggingBootstrapEndToEnd, UnwritablePerProgramFileStillReachesRun) {
    const std::wstring ini = LogFolder() + L"\\ONumra16LINK14.ini";
    struct Case {
        const char* what;
        bool readOnly;
        bool heldWithoutWriteSharing;
    } cases[] = {
        {"read-only file", true, false},
        {"file held open without write sharing", false, true},
    };
    for (const Case& c : cases) {
        RemoveTree(documents_ + L"\\Orvak");
        MakeFolders(LogFolder());
        ASSERT_TRUE(WriteBytes(ini, "left from an earlier start\r\n"));
        if (c.readOnly) ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (c.heldWithoutWriteSharing) {
            holder = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, holder);
        }
        const bool refused = RefusesWriting(ini);
        Install install(true);
        const Outcome o = RunLauncher(install);
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(0u, o.exitCode) << c.what;
        EXPECT_TRUE(o.record.present) << c.what;
        EXPECT_EQ(UserDefaultLocale(), o.record.locale) << c.what;
        if (refused) {
            EXPECT_EQ("left from an earlier start\r\n", BytesOf(ini)) << c.what;
        } else {
            // Wine run by the superuser writes read-only files all the same.
            EXPECT_TRUE(c.readOnly) << c.what;
            std::printf("note: the platform lets the launcher write a read-only file\n");
        }
        EXPECT_TRUE(IsFolder(LogFolder() + L"\\ONumra16LINK14")) << c.what;
    }
}

// Turns the shell folder library off for every program of one file name, so
// that its documents folder cannot be found; removed afterwards.
class ScopedNoShellFolders {
public:
    explicit ScopedNoShellFolders(const std::wstring& exeName)
        : key_(L"Software\\Wine\\AppDefaults\\" + exeName) {
        HKEY overrides = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, (key_ + L"\\DllOverrides").c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &overrides, nullptr) == ERROR_SUCCESS) {
            // An empty load order disables the library.
            set_ = RegSetValueExW(overrides, L"shfolder", 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(L""),
                                  sizeof(wchar_t)) == ERROR_SUCCESS;
            RegCloseKey(overrides);
        }
    }
    ~ScopedNoShellFolders() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }
    ScopedNoShellFolders(const ScopedNoShellFolders&) = delete;
    ScopedNoShellFolders& operator=(const ScopedNoShellFolders&) = delete;
    bool Set() const { return set_; }

private:
    std::wstring key_;
    bool set_ = false;
};

TEST_F(LoggingBootstrapEndToEnd, NoDocumentsFolderStillReachesRun) {
    // The log folder then hangs off the root of the child's current drive.
    const std::string module = "ONoDocs16LINK14";
    Install install(true, L"ONoDocs16LINK14.exe");
    const std::wstring root = install.Dir().substr(0, 2) + L"\\Orvak";
    RemoveTree(root);
    Outcome o;
    {
        ScopedNoShellFolders noShellFolders(L"ONoDocs16LINK14.exe");
        ASSERT_TRUE(noShellFolders.Set());
        o = RunLauncher(install);
    }
    EXPECT_EQ(0u, o.exitCode);
    EXPECT_TRUE(o.record.present);
    EXPECT_FALSE(Exists(LogFolder()));
    EXPECT_TRUE(IsFolder(root + L"\\SystemLog\\ONoDocs16LINK14"));
    const std::string bytes = BytesOf(root + L"\\SystemLog\\ONoDocs16LINK14.ini");
    const std::string folder = "\\\\Orvak\\\\SystemLog\\\\ONoDocs16LINK14\\\\";
    EXPECT_TRUE(bytes == ExpectedProperties(folder, module, o.before) ||
                bytes == ExpectedProperties(folder, module, o.after))
        << bytes;
    RemoveTree(root);
}

TEST_F(LoggingBootstrapEndToEnd, TwoInstancesStartedTogetherLeaveTheSameBytes) {
    Install install(true);
    for (int round = 0; round < 3; ++round) {
        const std::wstring records[2] = {install.RecordPath() + L".a",
                                         install.RecordPath() + L".b"};
        DeleteFileW(records[0].c_str());
        DeleteFileW(records[1].c_str());
        Child children[2];
        const std::string before = TodayStamp();
        for (int i = 0; i < 2; ++i) {
            ScopedEnv record(L"LINK14_APPRUN_RECORD", records[i]);
            ASSERT_TRUE(Start(children[i], install, Quoted(install.Exe())));
        }
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(0u, children[i].Wait()) << round;
            EXPECT_TRUE(ReadRecord(records[i]).present) << round << " instance " << i;
        }
        Outcome o;
        o.before = before;
        o.after = TodayStamp();
        const std::string bytes = BytesOf(LogFolder() + L"\\ONumra16LINK14.ini");
        EXPECT_TRUE(IsExpectedFile(bytes, documents_, kModule, o)) << round << ": " << bytes;
    }
}

// --- A documents folder with a double-byte character ----------------------

// Sets one value of the user's shell folder keys and puts back what was
// there (or removes it) afterwards.
class ScopedShellFolderValue {
public:
    ScopedShellFolderValue(const wchar_t* key, const wchar_t* name, DWORD type,
                           const std::wstring& value)
        : key_(nullptr), name_(name), had_(false), type_(0) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) !=
            ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = 0;
        if (RegQueryValueExW(key_, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            old_.resize(size);
            had_ =
                RegQueryValueExW(key_, name, nullptr, &type_, old_.data(), &size) == ERROR_SUCCESS;
            old_.resize(size);
        }
        RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    ~ScopedShellFolderValue() {
        if (!key_) return;
        if (had_) {
            RegSetValueExW(key_, name_, 0, type_, old_.data(), static_cast<DWORD>(old_.size()));
        } else {
            RegDeleteValueW(key_, name_);
        }
        RegCloseKey(key_);
    }
    ScopedShellFolderValue(const ScopedShellFolderValue&) = delete;
    ScopedShellFolderValue& operator=(const ScopedShellFolderValue&) = delete;
    bool Opened() const { return key_ != nullptr; }

private:
    HKEY key_;
    const wchar_t* name_;
    bool had_;
    DWORD type_;
    std::vector<BYTE> old_;
};

const wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST_F(LoggingBootstrapEndToEnd, DoubleByteDocumentsFolderKeepsTheSecondByteSingle) {
    ASSERT_EQ(932u, GetACP()) << "the test prefix must run with the Japanese ANSI code page";
    // U+8868 and U+30BD are 0x95 0x5C and 0x83 0x5C in code page 932.
    const std::wstring moved = documents_ + L"\\\u8868\u30BD";
    RemoveTree(moved);
    ASSERT_TRUE(CreateDirectoryW(moved.c_str(), nullptr));
    Outcome o;
    std::wstring seen;
    {
        ScopedShellFolderValue user(kUserShellFolders, L"Personal", REG_EXPAND_SZ, moved);
        ScopedShellFolderValue shell(kShellFolders, L"Personal", REG_SZ, moved);
        ASSERT_TRUE(user.Opened() && shell.Opened());
        seen = DocumentsFolder();
        Install install(true);
        o = RunLauncher(install);
    }
    EXPECT_EQ(documents_, DocumentsFolder()) << "the shell folder values were not restored";
    ASSERT_EQ(moved, seen) << "the prefix did not take the moved documents folder";
    EXPECT_EQ(0u, o.exitCode);
    EXPECT_TRUE(o.record.present);

    const std::string ansi = Ansi(moved);
    ASSERT_EQ("\x95\x5C\x83\x5C", ansi.substr(ansi.size() - 4));
    const std::string folder = DoubleAsciiBackslashes(Ansi(documents_)) +
                               "\\\\\x95\x5C\x83\x5C\\\\Orvak\\\\SystemLog\\\\ONumra16LINK14\\\\";
    const std::string bytes = BytesOf(moved + L"\\Orvak\\SystemLog\\ONumra16LINK14.ini");
    EXPECT_TRUE(bytes == ExpectedProperties(folder, kModule, o.before) ||
                bytes == ExpectedProperties(folder, kModule, o.after))
        << bytes;
    EXPECT_TRUE(IsFolder(moved + L"\\Orvak\\SystemLog\\ONumra16LINK14"));
    EXPECT_FALSE(Exists(LogFolder()));
    RemoveTree(moved);
}

}  // namespace
}  // namespace logging_test
}  // namespace link14
