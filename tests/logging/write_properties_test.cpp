// WriteLogProperties in this process, on the test prefix's file system.
#include <gtest/gtest.h>
#include <windows.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "logging/bootstrap.h"
#include "tests/logging/windows_fs.h"

namespace link14 {
namespace logging_test {
namespace {

class WriteLogPropertiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        root_ = std::wstring(temp) + L"link14-write-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
        RemoveTree(root_);
        ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
        logFolder_ = root_ + L"\\Orvak\\SystemLog";
        std::setlocale(LC_ALL, "C");
    }
    void TearDown() override {
        RemoveTree(root_);
        std::setlocale(LC_ALL, "C");
    }

    std::string Write(const char* moduleName = "ONumra16LINK14") {
        before_ = TodayStamp();
        const IString path = WriteLogProperties(moduleName, Ansi(logFolder_).c_str(), 1, 0, 0, 0);
        after_ = TodayStamp();
        return path.CStr();
    }

    // Whether `bytes` is the file of `moduleName` for the day of the write.
    bool IsExpected(const std::string& bytes, const std::string& moduleName) const {
        const std::string folder =
            DoubleAsciiBackslashes(Ansi(logFolder_) + "\\" + moduleName + "\\");
        return bytes == ExpectedProperties(folder, moduleName, before_) ||
               bytes == ExpectedProperties(folder, moduleName, after_);
    }

    std::wstring root_, logFolder_;
    std::string before_, after_;
};

TEST_F(WriteLogPropertiesTest, CreatesTheFoldersAndWritesTheFile) {
    const std::string path = Write();
    EXPECT_EQ(Ansi(logFolder_) + "\\ONumra16LINK14.ini", path);
    EXPECT_TRUE(IsFolder(logFolder_ + L"\\ONumra16LINK14"));
    const std::string bytes = BytesOf(logFolder_ + L"\\ONumra16LINK14.ini");
    EXPECT_TRUE(IsExpected(bytes, "ONumra16LINK14")) << bytes;
    EXPECT_EQ((std::vector<std::wstring>{L"ONumra16LINK14", L"ONumra16LINK14.ini"}),
              Entries(logFolder_));
}

TEST_F(WriteLogPropertiesTest, SetsTheUsersDefaultLocaleForTheProcess) {
    const std::string userDefault = std::setlocale(LC_ALL, "");
    std::setlocale(LC_ALL, "C");
    Write();
    EXPECT_EQ(userDefault, std::setlocale(LC_ALL, nullptr));
}

TEST_F(WriteLogPropertiesTest, ExistingProgramFolderIsLeftAndFileReplacedWhole) {
    MakeFolders(logFolder_ + L"\\ONumra16LINK14");
    ASSERT_TRUE(WriteBytes(logFolder_ + L"\\ONumra16LINK14\\earlier.txt", "kept"));
    ASSERT_TRUE(WriteBytes(logFolder_ + L"\\ONumra16LINK14.ini",
                           std::string(20000, '#') + "\r\nlog4j.rootLogger = Debug, x\r\n"));
    Write();
    EXPECT_EQ("kept", BytesOf(logFolder_ + L"\\ONumra16LINK14\\earlier.txt"));
    const std::string bytes = BytesOf(logFolder_ + L"\\ONumra16LINK14.ini");
    EXPECT_TRUE(IsExpected(bytes, "ONumra16LINK14")) << bytes.size() << " bytes";
}

TEST_F(WriteLogPropertiesTest, UnwritableFileIsSkippedSilently) {
    const std::wstring ini = logFolder_ + L"\\ONumra16LINK14.ini";
    MakeFolders(logFolder_);
    struct Case {
        const char* what;
        bool readOnly;
        DWORD holderShare;  // a handle held open with this sharing while writing
    } cases[] = {
        {"read-only file", true, FILE_SHARE_READ | FILE_SHARE_WRITE},
        {"held open without write sharing", false, FILE_SHARE_READ},
    };
    for (const Case& c : cases) {
        SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WriteBytes(ini, "earlier content\r\n"));
        if (c.readOnly) SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE holder = CreateFileW(ini.c_str(), GENERIC_READ, c.holderShare, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, holder) << c.what;
        const bool refused = RefusesWriting(ini);
        EXPECT_EQ(Ansi(ini), Write()) << c.what;
        CloseHandle(holder);
        if (refused) {
            EXPECT_EQ("earlier content\r\n", BytesOf(ini)) << c.what;
        } else {
            EXPECT_TRUE(c.readOnly) << c.what;
            std::printf("note: the platform lets this process write a read-only file\n");
        }
        EXPECT_TRUE(IsFolder(logFolder_ + L"\\ONumra16LINK14")) << c.what;
    }
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WriteLogPropertiesTest, LogFolderBlockedByAFileStillReturnsThePath) {
    // "Orvak" is a file, so neither folder can be made and nothing is written.
    ASSERT_TRUE(WriteBytes(root_ + L"\\Orvak", "not a folder"));
    EXPECT_EQ(Ansi(logFolder_) + "\\ONumra16LINK14.ini", Write());
    EXPECT_FALSE(Exists(logFolder_));
    EXPECT_EQ("not a folder", BytesOf(root_ + L"\\Orvak"));
}

}  // namespace
}  // namespace logging_test
}  // namespace link14
