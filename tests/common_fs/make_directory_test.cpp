// Folder creation with missing parents, on the test prefix's drive. The
// platform calls the library makes are seen through this program's import
// table: which parents are tested, and which folders are created in which order.
#include "common/folders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common_fs/fs_helpers.h"
#include "tests/common_fs/import_hook.h"

namespace link14 {
namespace {

using testing_fs::IsFolder;
using testing_fs::IsPlainFile;
using testing_fs::Wide;

typedef BOOL(WINAPI* CreateDirectoryFn)(LPCSTR, LPSECURITY_ATTRIBUTES);
typedef HANDLE(WINAPI* FindFirstFileFn)(LPCSTR, LPWIN32_FIND_DATAA);

CreateDirectoryFn realCreateDirectory = nullptr;
FindFirstFileFn realFindFirstFile = nullptr;
std::vector<std::string>* platformLog = nullptr;

BOOL WINAPI LoggedCreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES security) {
    const BOOL created = realCreateDirectory(path, security);
    const DWORD error = GetLastError();
    if (platformLog) platformLog->push_back(std::string(created ? "made " : "not made ") + path);
    SetLastError(error);
    return created;
}

HANDLE WINAPI LoggedFindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    const HANDLE found = realFindFirstFile(pattern, data);
    const DWORD error = GetLastError();
    if (platformLog)
        platformLog->push_back(std::string(found != INVALID_HANDLE_VALUE ? "found " : "missing ") +
                               pattern);
    SetLastError(error);
    return found;
}

// Shift-JIS characters whose second byte is 0x5C: 表 (95 5C), ソ (83 5C), 能 (94 5C).
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";
const std::string kNou = "\x94\x5C";

const std::string kBase = "C:\\link14-tree";

class MakeTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        realCreateDirectory =
            testing_fs::PlatformEntry<CreateDirectoryFn>("kernel32.dll", "CreateDirectoryA");
        realFindFirstFile =
            testing_fs::PlatformEntry<FindFirstFileFn>("kernel32.dll", "FindFirstFileA");
        ASSERT_NE(realCreateDirectory, nullptr);
        ASSERT_NE(realFindFirstFile, nullptr);
        ASSERT_GT(testing_fs::RepointImports(testing_fs::AsAddress(realCreateDirectory),
                                             testing_fs::AsAddress(&LoggedCreateDirectory)),
                  0);
        ASSERT_GT(testing_fs::RepointImports(testing_fs::AsAddress(realFindFirstFile),
                                             testing_fs::AsAddress(&LoggedFindFirstFile)),
                  0);
    }

    void SetUp() override { FreshBase(); }

    // Only the base folder, for each case of a table that creates folders.
    static void FreshBase() {
        testing_fs::RemoveTree(Wide(kBase));
        ASSERT_TRUE(testing_fs::MakeFolderW(Wide(kBase)));
    }

    void TearDown() override { platformLog = nullptr; }

    // MakeDirectoryTree with the platform calls it made.
    int Run(const std::string& path) {
        log.clear();
        platformLog = &log;
        const int result = MakeDirectoryTree(path.c_str());
        platformLog = nullptr;
        return result;
    }

    std::vector<std::string> log;
    testing_fs::CurrentDirectoryGuard cwd_;
};

typedef std::vector<std::string> Calls;

TEST_F(MakeTree, MissingLevelsAreCreatedOutermostFirst) {
    const std::string a = kBase + "\\a", b = a + "\\b", c = b + "\\c";
    struct Case {
        std::string path;
        Calls calls;
    } const cases[] = {
        {c,
         {"missing " + b, "missing " + a, "found " + kBase, "made " + a, "made " + b, "made " + c}},
        {c + "\\",
         {"missing " + b, "missing " + a, "found " + kBase, "made " + a, "made " + b,
          "made " + c + "\\"}},
    };
    for (const Case& k : cases) {
        FreshBase();
        EXPECT_EQ(Run(k.path), 1) << k.path;
        EXPECT_EQ(log, k.calls) << k.path;
        EXPECT_TRUE(IsFolder(Wide(c))) << k.path;
    }
}

TEST_F(MakeTree, ExistingFolderGivesZeroAndStaysAsItWas) {
    const std::string old = kBase + "\\old";
    ASSERT_TRUE(testing_fs::MakeFolderW(Wide(old)));
    ASSERT_TRUE(testing_fs::MakeFileW(Wide(old + "\\keep.txt")));
    for (const std::string& path : {old, old + "\\"}) {
        EXPECT_EQ(Run(path), 0) << path;
        EXPECT_EQ(log, (Calls{"found " + kBase, "not made " + path})) << path;
        EXPECT_TRUE(IsPlainFile(Wide(old + "\\keep.txt"))) << path;
    }
}

TEST_F(MakeTree, ParentThatIsAFileStopsEverything) {
    const std::string file = kBase + "\\file.txt";
    ASSERT_TRUE(testing_fs::MakeFileW(Wide(file)));
    struct Case {
        std::string path;
        Calls calls;
    } const cases[] = {
        {file + "\\x", {"found " + file}},
        {file + "\\x\\y\\", {"missing " + file + "\\x", "found " + file}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(Run(k.path), 0) << k.path;
        EXPECT_EQ(log, k.calls) << k.path;
        EXPECT_TRUE(IsPlainFile(Wide(file))) << k.path;
    }
}

TEST_F(MakeTree, RelativePathIsCreatedInTheCurrentFolder) {
    ASSERT_TRUE(SetCurrentDirectoryA(kBase.c_str()));
    EXPECT_EQ(Run("logs\\x"), 1);
    // "logs" has an empty directory part: it goes straight to creation.
    EXPECT_EQ(log, (Calls{"missing logs", "made logs", "made logs\\x"}));
    EXPECT_TRUE(IsFolder(Wide(kBase + "\\logs\\x")));
}

TEST_F(MakeTree, EmptyPathIsOneCreationAttempt) {
    EXPECT_EQ(Run(""), 0);
    EXPECT_EQ(log, (Calls{"not made "}));
}

TEST_F(MakeTree, DriveRootFolderWhoseNameEndsInByte0x5C) {
    const std::string path = "C:\\" + kHyo;
    const std::wstring wide = L"C:\\\u8868";
    testing_fs::RemoveTree(wide);
    // Nothing is cut: the directory part is the single backslash after the drive.
    EXPECT_EQ(Run(path), 1);
    EXPECT_EQ(log, (Calls{"made " + path}));
    EXPECT_TRUE(IsFolder(wide));
    testing_fs::RemoveTree(wide);
}

TEST_F(MakeTree, FolderNamesEndingInByte0x5CAreKeptWhole) {
    const std::string hyo = kBase + "\\" + kHyo, so = hyo + "\\" + kSo, nou = so + "\\" + kNou;
    struct Case {
        std::string path;
        Calls calls;
    } const cases[] = {
        {nou,
         {"missing " + so, "missing " + hyo, "found " + kBase, "made " + hyo, "made " + so,
          "made " + nou}},
        {nou + "\\",
         {"missing " + so, "missing " + hyo, "found " + kBase, "made " + hyo, "made " + so,
          "made " + nou + "\\"}},
    };
    for (const Case& k : cases) {
        FreshBase();
        EXPECT_EQ(Run(k.path), 1) << k.path;
        EXPECT_EQ(log, k.calls) << k.path;
        EXPECT_TRUE(IsFolder(Wide(kBase) + L"\\\u8868\\\u30bd\\\u80fd")) << k.path;
    }
}

// A path ending in '/' is its own parent; it is refused instead of recursing.
TEST_F(MakeTree, TrailingForwardSlashIsRefused) {
    for (const std::string& path :
         {kBase + "\\x/", kBase + "\\a\\b/", kBase + "\\x\\/", std::string("x/")}) {
        EXPECT_EQ(Run(path), 0) << path;
        EXPECT_EQ(log, Calls{}) << path;
    }
    EXPECT_FALSE(IsFolder(Wide(kBase + "\\x")));
    EXPECT_FALSE(IsFolder(Wide(kBase + "\\a")));
}

// A '/' between folders leaves a parent ending in '/', which the finder does
// not find; the recursion then reaches such a parent and stops there.
TEST_F(MakeTree, ForwardSlashBetweenFoldersEndsAtTheSlashedParent) {
    struct Case {
        std::string path;
        Calls calls;
    } const cases[] = {
        {kBase + "/y", {"missing " + kBase + "/"}},
        {kBase + "/fw/x", {"missing " + kBase + "/fw/"}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(Run(k.path), 0) << k.path;
        EXPECT_EQ(log, k.calls) << k.path;
    }
    EXPECT_FALSE(IsFolder(Wide(kBase + "\\y")));
    EXPECT_FALSE(IsFolder(Wide(kBase + "\\fw")));
}

TEST_F(MakeTree, ServerShareIsTestedAsParentAndThenCreatedAsIs) {
    EXPECT_EQ(Run("\\\\srv\\share\\x"), 0);
    EXPECT_EQ(log, (Calls{"missing \\\\srv\\share", "not made \\\\srv\\share"}));
}

TEST_F(MakeTree, OverlongPathTerminates) {
    const std::string path = kBase + "\\" + std::string(300, 'n');
    EXPECT_EQ(Run(path), 0);
    EXPECT_EQ(log, (Calls{"found " + kBase, "not made " + path}));
}

// A folder part longer than the splitter holds (here 257 bytes in a 260-byte
// path) would come back cut inside a name, giving a parent that is no
// ancestor: nothing is tested or created.
TEST_F(MakeTree, OverlongFolderPartIsRefused) {
    const std::string folder = kBase + "\\" + std::string(243, 'd') + "\\";
    ASSERT_EQ(257u, folder.size() - 2);
    for (const std::string& path : {folder + "x", folder + "x\\"}) {
        EXPECT_EQ(Run(path), 0) << path.size();
        EXPECT_EQ(log, Calls{}) << path.size();
    }
}

TEST(MakeDirectory, CreatesOneFolderOnly) {
    const std::string base = "C:\\link14-mkdir";
    testing_fs::RemoveTree(Wide(base));
    EXPECT_EQ(MakeDirectory(base.c_str()), 1);
    EXPECT_EQ(MakeDirectory(base.c_str()), 0) << "already there";
    EXPECT_EQ(MakeDirectory((base + "\\a\\b").c_str()), 0) << "parent missing";
    EXPECT_FALSE(IsFolder(Wide(base + "\\a")));
    EXPECT_EQ(MakeDirectory(nullptr), 0);
    testing_fs::RemoveTree(Wide(base));
}

}  // namespace
}  // namespace link14
