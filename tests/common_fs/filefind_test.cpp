// The finder on a real folder tree of the test prefix.
#include "common/filefind.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/common_fs/fs_helpers.h"

namespace link14 {
namespace {

using testing_fs::CurrentDirectoryGuard;
using testing_fs::FileTimeOfUnix;
using testing_fs::TicksOf;
using testing_fs::Wide;

// Shift-JIS names whose last byte is 0x5C: 表 (95 5C), ソ (83 5C).
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

const std::string kBase = "C:\\link14-find";
const std::string kLogs = kBase + "\\logs";
const std::string kWide = kBase + "\\" + kHyo;  // a folder whose name ends in 0x5C
const std::string kMany = kBase + "\\many";
const int kManyFiles = 300;

const long long kWriteSeconds = 981173106;    // 2001-02-03 04:05:06 UTC
const long long kAccessSeconds = 1234567890;  // 2009-02-13 23:31:30 UTC

const char* const kLogNames[] = {"a.txt", "b.log", "a.tar.gz", "README", "..x"};

std::string S(const IString& s) {
    return std::string(s.CStr(), static_cast<std::size_t>(s.Length()));
}

// Every entry name of a search, the look-ahead entry included exactly once.
std::vector<std::string> AllNames(IFileFind& find) {
    std::vector<std::string> names;
    for (;;) {
        const int more = find.Advance();
        names.push_back(S(find.EntryName()));
        if (!more) break;
    }
    return names;
}

class FindTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testing_fs::RemoveTree(Wide(kBase));
        ASSERT_TRUE(testing_fs::MakeFolderW(Wide(kBase)));
        ASSERT_TRUE(testing_fs::MakeFolderW(Wide(kLogs)));
        for (const char* name : kLogNames)
            ASSERT_TRUE(testing_fs::MakeFileW(Wide(kLogs + "\\" + name)));
        ASSERT_TRUE(testing_fs::MakeFolderW(Wide(kLogs + "\\.git")));
        ASSERT_TRUE(testing_fs::MakeFolderW(Wide(kWide)));
        ASSERT_TRUE(testing_fs::MakeFileW(Wide(kWide + "\\a" + kSo + "b.txt")));
        ASSERT_TRUE(testing_fs::MakeFolderW(Wide(kMany)));
        for (int i = 0; i < kManyFiles; ++i)
            ASSERT_TRUE(testing_fs::MakeFileW(Wide(kMany + "\\f" + std::to_string(i) + ".dat")));

        HANDLE h = CreateFileW(Wide(kLogs + "\\a.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        const FILETIME access = FileTimeOfUnix(kAccessSeconds);
        const FILETIME write = FileTimeOfUnix(kWriteSeconds);
        ASSERT_TRUE(SetFileTime(h, nullptr, &access, &write));
        CloseHandle(h);
    }

    CurrentDirectoryGuard cwd_;
};

TEST_F(FindTree, FileExistsAnswersForFilesFoldersAndWildcards) {
    struct Case {
        std::string path;
        int expected;
    } const cases[] = {
        {kLogs + "\\a.txt", 1},
        {kLogs + "\\missing.txt", 0},
        {kLogs, 1},
        {kLogs + "\\*.txt", 1},
        {kLogs + "\\*.none", 0},
        {kBase + "\\nowhere\\a.txt", 0},
        {kWide + "\\a" + kSo + "b.txt", 1},
    };
    const long live = FindRecord::Live();
    for (const Case& c : cases) {
        EXPECT_EQ(FileExists(c.path.c_str()), c.expected) << c.path;
        EXPECT_EQ(FindRecord::Live(), live) << "records left behind by " << c.path;
    }
}

TEST_F(FindTree, FailedOpenKeepsThePlatformReasonAndLeavesNoSearch) {
    struct Case {
        std::string pattern;
        DWORD error;
    } const cases[] = {
        {kLogs + "\\missing.txt", ERROR_FILE_NOT_FOUND},
        {kLogs + "\\*.none", ERROR_FILE_NOT_FOUND},
        {kBase + "\\nowhere\\a.txt", ERROR_PATH_NOT_FOUND},
    };
    const long live = FindRecord::Live();
    for (const Case& c : cases) {
        IFileFind find;
        SetLastError(0xDEAD);
        EXPECT_EQ(find.Open(c.pattern.c_str()), 0) << c.pattern;
        EXPECT_EQ(GetLastError(), c.error) << c.pattern;
        EXPECT_EQ(FindRecord::Live(), live) << c.pattern;
        EXPECT_EQ(find.Advance(), 0) << c.pattern;
        EXPECT_EQ(S(find.EntryName()), "") << c.pattern;
    }
}

// The platform finds a relative name that the 260-byte absolute form cannot hold.
TEST_F(FindTree, PatternWithoutRoomForItsAbsoluteFormFailsAsInvalidName) {
    std::string deep = kBase + "\\deep";
    ASSERT_TRUE(testing_fs::MakeFolderW(Wide(deep)));
    while (deep.size() < 200) {
        deep += "\\" + std::string(40, 'd');
        ASSERT_TRUE(testing_fs::MakeFolderW(Wide(deep)));
    }
    deep += "\\" + std::string(253 - deep.size(), 'e');
    ASSERT_TRUE(testing_fs::MakeFolderW(Wide(deep)));
    const std::string leaf(20, 'z');
    ASSERT_TRUE(testing_fs::MakeFolderW(Wide(deep + "\\" + leaf)));
    ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str()));
    WIN32_FIND_DATAA data;
    HANDLE probe = FindFirstFileA(leaf.c_str(), &data);
    ASSERT_NE(probe, INVALID_HANDLE_VALUE) << "the platform itself must find the leaf";
    FindClose(probe);

    const long live = FindRecord::Live();
    IFileFind find;
    SetLastError(0);
    EXPECT_EQ(find.Open(leaf.c_str()), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_EQ(FindRecord::Live(), live);
    EXPECT_EQ(find.Advance(), 0);
}

TEST_F(FindTree, FolderWithoutWildcardIsFoundAsItself) {
    IFileFind find;
    ASSERT_EQ(find.Open(kLogs.c_str()), 1);
    EXPECT_EQ(find.Advance(), 0);  // the one match
    EXPECT_EQ(S(find.EntryName()), "logs");
    EXPECT_EQ(find.HasAttribute(FILE_ATTRIBUTE_DIRECTORY), 1);
    EXPECT_EQ(find.IsDotEntry(), 0);
    EXPECT_EQ(S(find.SearchRoot()), kBase);
    EXPECT_EQ(S(find.EntryPath()), kLogs);
}

TEST_F(FindTree, FileIsNoFolderAndSharesSomeAttributeBits) {
    IFileFind find;
    ASSERT_EQ(find.Open((kLogs + "\\a.txt").c_str()), 1);
    find.Advance();
    EXPECT_EQ(S(find.EntryName()), "a.txt");
    EXPECT_EQ(find.HasAttribute(FILE_ATTRIBUTE_DIRECTORY), 0);
    EXPECT_EQ(find.HasAttribute(0xFFFFFFFF & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)), 1);
    EXPECT_EQ(find.HasAttribute(0), 0);
}

TEST_F(FindTree, SearchRootIsTheAbsoluteFolderOfThePattern) {
    ASSERT_TRUE(SetCurrentDirectoryA(kBase.c_str()));
    struct Case {
        std::string pattern;
        std::string root;
    } const cases[] = {
        {kLogs + "\\*.txt", kLogs},
        {"C:\\*.*", "C:"},
        {"logs\\*.txt", kLogs},
        {"logs", kBase},
        {"C:/link14-find/logs/a.txt", kLogs},
        {kWide + "\\*.txt", kWide},  // the 0x5C inside the name is no separator
        {kWide, kBase},
    };
    for (const Case& c : cases) {
        IFileFind find;
        ASSERT_EQ(find.Open(c.pattern.c_str()), 1) << c.pattern;
        EXPECT_EQ(S(find.SearchRoot()), c.root) << c.pattern;
    }
}

TEST_F(FindTree, DriveRootJoinsEntriesWithOneSeparator) {
    IFileFind find;
    ASSERT_EQ(find.Open("C:\\*.*"), 1);
    EXPECT_EQ(S(find.SearchRoot()), "C:");
    bool seen = false;
    for (int more = 1; more && !seen;) {
        more = find.Advance();
        if (S(find.EntryName()) == "link14-find") {
            seen = true;
            EXPECT_EQ(S(find.EntryPath()), "C:\\link14-find");
            EXPECT_EQ(S(find.EntryUrl()), "file://C:\\link14-find");
        }
    }
    EXPECT_TRUE(seen);
}

TEST_F(FindTree, EntryPathAndUrlAfterFolderEndingInSecondByte0x5C) {
    IFileFind find;
    ASSERT_EQ(find.Open((kWide + "\\*.txt").c_str()), 1);
    find.Advance();
    const std::string file = kWide + "\\a" + kSo + "b.txt";
    EXPECT_EQ(S(find.EntryPath()), file);
    EXPECT_EQ(S(find.EntryUrl()), "file://" + file);
}

TEST_F(FindTree, EntryUrlKeepsThePathAsItIs) {
    IFileFind find;
    ASSERT_EQ(find.Open((kLogs + "\\a.txt").c_str()), 1);
    find.Advance();
    EXPECT_EQ(S(find.EntryUrl()), "file://C:\\link14-find\\logs\\a.txt");
}

TEST_F(FindTree, NullPatternSearchesEverythingInTheCurrentFolder) {
    ASSERT_TRUE(SetCurrentDirectoryA(kLogs.c_str()));
    IFileFind find;
    ASSERT_EQ(find.Open(nullptr), 1);
    EXPECT_EQ(S(find.SearchRoot()), kLogs);
    const std::vector<std::string> names = AllNames(find);
    std::set<std::string> expected = {".", "..", ".git"};
    for (const char* name : kLogNames) expected.insert(name);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
    EXPECT_EQ(names.size(), expected.size());
}

TEST_F(FindTree, OnlyTheTwoDirectoryEntriesAreDotEntries) {
    IFileFind find;
    ASSERT_EQ(find.Open((kLogs + "\\*").c_str()), 1);
    std::map<std::string, int> dot;
    for (int more = 1; more;) {
        more = find.Advance();
        dot[S(find.EntryName())] = find.IsDotEntry();
    }
    const std::map<std::string, int> expected = {
        {".", 1},     {"..", 1},    {"..x", 0},      {".git", 0},
        {"a.txt", 0}, {"b.log", 0}, {"a.tar.gz", 0}, {"README", 0},
    };
    EXPECT_EQ(dot, expected);
}

TEST_F(FindTree, EntryStemDropsTheLastExtensionOnly) {
    const std::map<std::string, std::string> expected = {
        {kLogs + "\\a.tar.gz", "a.tar"},
        {kLogs + "\\README", "README"},
        {kLogs + "\\..x", "."},
        {kLogs + "\\.git", ""},
        {kWide, kHyo},
        {kWide + "\\a" + kSo + "b.txt", "a" + kSo + "b"},
    };
    for (const auto& c : expected) {
        IFileFind find;
        ASSERT_EQ(find.Open(c.first.c_str()), 1) << c.first;
        find.Advance();
        EXPECT_EQ(S(find.EntryStem()), c.second) << c.first;
    }
}

TEST_F(FindTree, AccessorsBeforeTheFirstAdvanceSeeNoEntry) {
    IFileFind find;
    ASSERT_EQ(find.Open((kLogs + "\\*").c_str()), 1);

    EXPECT_EQ(S(find.EntryName()), "");
    EXPECT_EQ(S(find.EntryStem()), "");
    EXPECT_EQ(S(find.EntryPath()), kLogs + "\\");
    EXPECT_EQ(S(find.EntryUrl()), "file://" + kLogs + "\\");
    EXPECT_EQ(S(find.SearchRoot()), kLogs);
    EXPECT_EQ(find.HasAttribute(0xFFFFFFFF), 0);
    EXPECT_EQ(find.IsDotEntry(), 0);

    int (IFileFind::*const times[])(TimeValue&) = {&IFileFind::WriteTime, &IFileFind::AccessTime,
                                                   &IFileFind::CreateTime};
    for (auto time : times) {
        TimeValue out(42);
        EXPECT_EQ((find.*time)(out), 0);
        EXPECT_EQ(out.Seconds(), 42);
    }
    int (IFileFind::*const raws[])(FILETIME*) = {
        &IFileFind::RawWriteTime, &IFileFind::RawAccessTime, &IFileFind::RawCreateTime};
    for (auto raw : raws) {
        FILETIME out = {7, 9};
        EXPECT_EQ((find.*raw)(&out), 0);
        EXPECT_EQ(out.dwLowDateTime, 7u);
        EXPECT_EQ(out.dwHighDateTime, 9u);
    }
}

TEST_F(FindTree, IdleFinderHasNoRootAndDoesNotAdvance) {
    IFileFind find;
    EXPECT_EQ(find.Advance(), 0);
    EXPECT_EQ(S(find.EntryPath()), "");
    EXPECT_EQ(S(find.SearchRoot()), "");
    EXPECT_EQ(find.EndSearch(), FALSE);
}

TEST_F(FindTree, TimesOfTheCurrentEntry) {
    IFileFind find;
    ASSERT_EQ(find.Open((kLogs + "\\a.txt").c_str()), 1);
    find.Advance();

    TimeValue write, access, created;
    EXPECT_EQ(find.WriteTime(write), 1);
    EXPECT_EQ(write.Seconds(), kWriteSeconds);
    EXPECT_EQ(find.AccessTime(access), 1);
    EXPECT_EQ(access.Seconds(), kAccessSeconds);

    FILETIME raw = {};
    EXPECT_EQ(find.RawWriteTime(&raw), 1);
    EXPECT_EQ(TicksOf(raw), TicksOf(FileTimeOfUnix(kWriteSeconds)));
    EXPECT_EQ(find.RawAccessTime(&raw), 1);
    EXPECT_EQ(TicksOf(raw), TicksOf(FileTimeOfUnix(kAccessSeconds)));

    // The creation time cannot be set here; compare with the platform's own answer.
    FILETIME platformCreated = {};
    HANDLE h = CreateFileW(Wide(kLogs + "\\a.txt").c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(GetFileTime(h, &platformCreated, nullptr, nullptr));
    CloseHandle(h);
    EXPECT_EQ(find.RawCreateTime(&raw), 1);
    EXPECT_EQ(TicksOf(raw), TicksOf(platformCreated));
    EXPECT_EQ(find.CreateTime(created), 1);
    EXPECT_EQ(created.Seconds(),
              static_cast<long long>(TicksOf(platformCreated) / 10000000ULL) - 11644473600LL);

    EXPECT_EQ(find.RawWriteTime(nullptr), 0);
    EXPECT_EQ(find.RawAccessTime(nullptr), 0);
    EXPECT_EQ(find.RawCreateTime(nullptr), 0);
}

// Counts the calls of the overridable search end and the records alive then.
class ObservedFind : public IFileFind {
public:
    BOOL EndSearch() override {
        ++endSearches;
        liveAtEnd = FindRecord::Live();
        return IFileFind::EndSearch();
    }
    int endSearches = 0;
    long liveAtEnd = -1;
};

TEST_F(FindTree, SecondOpenEndsTheFirstSearchAndFreesItsRecordsFirst) {
    const long live = FindRecord::Live();
    ObservedFind find;
    ASSERT_EQ(find.Open((kLogs + "\\*").c_str()), 1);
    find.Advance();
    EXPECT_EQ(FindRecord::Live(), live + 2);

    ASSERT_EQ(find.Open((kWide + "\\*.txt").c_str()), 1);
    EXPECT_EQ(find.endSearches, 1);
    EXPECT_EQ(find.liveAtEnd, live);
    EXPECT_EQ(FindRecord::Live(), live + 1);
    EXPECT_EQ(S(find.SearchRoot()), kWide);
    EXPECT_EQ(AllNames(find), std::vector<std::string>{"a" + kSo + "b.txt"});

    // A failing third Open also ends the second search and leaves none.
    EXPECT_EQ(find.Open((kLogs + "\\*.none").c_str()), 0);
    EXPECT_EQ(find.endSearches, 2);
    EXPECT_EQ(FindRecord::Live(), live);
    EXPECT_EQ(find.Advance(), 0);
}

TEST_F(FindTree, SearchEndedByHandIsNotEndedAgain) {
    const long live = FindRecord::Live();
    {
        ObservedFind find;
        ASSERT_EQ(find.Open((kLogs + "\\*").c_str()), 1);
        find.Advance();
        EXPECT_NE(find.EndSearch(), FALSE);
        EXPECT_EQ(find.Advance(), 0);
        find.Reset();
        EXPECT_EQ(find.endSearches, 1);
        EXPECT_EQ(FindRecord::Live(), live);
        find.Reset();
        EXPECT_EQ(find.endSearches, 1);
    }
    {
        IFileFind find;
        ASSERT_EQ(find.Open((kLogs + "\\*").c_str()), 1);
        find.Advance();
    }
    EXPECT_EQ(FindRecord::Live(), live) << "the destructor frees both records";
}

TEST_F(FindTree, ManyEntriesUseTwoRecords) {
    const long allocated = FindRecord::Allocations();
    const long live = FindRecord::Live();
    IFileFind find;
    ASSERT_EQ(find.Open((kMany + "\\*").c_str()), 1);
    EXPECT_EQ(FindRecord::Allocations() - allocated, 1);

    const std::vector<std::string> names = AllNames(find);
    EXPECT_EQ(FindRecord::Allocations() - allocated, 2);
    EXPECT_EQ(FindRecord::Live() - live, 2);

    std::set<std::string> expected = {".", ".."};
    for (int i = 0; i < kManyFiles; ++i) expected.insert("f" + std::to_string(i) + ".dat");
    EXPECT_EQ(names.size(), expected.size()) << "every entry exactly once";
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);

    EXPECT_EQ(find.Advance(), 0) << "past the end";
    EXPECT_EQ(FindRecord::Allocations() - allocated, 2);
    find.Reset();
    EXPECT_EQ(FindRecord::Live(), live);
}

}  // namespace
}  // namespace link14
