// The shell folder lookup against the prefix's own shell library and folders.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "common/folders.h"
#include "tests/common_fs/fs_helpers.h"

namespace link14 {
namespace {

// The folder as the shell's newer interface names it, in the ANSI code page.
std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR wide = nullptr;
    if (FAILED(SHGetKnownFolderPath(id, 0, nullptr, &wide))) return std::string();
    char ansi[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi), nullptr, nullptr);
    CoTaskMemFree(wide);
    return ansi;
}

TEST(ShellFolder, DocumentsFolderOfThePrefix) {
    char buffer[kFolderPathBytes];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(LookupDocumentsFolder(buffer), 1);
    ASSERT_NE(std::memchr(buffer, '\0', sizeof(buffer)), nullptr);
    const std::string documents = KnownFolder(FOLDERID_Documents);
    ASSERT_FALSE(documents.empty());
    EXPECT_EQ(std::string(buffer), documents);
    EXPECT_TRUE(testing_fs::IsFolder(testing_fs::Wide(buffer)));
}

TEST(ShellFolder, OtherFoldersById) {
    struct Case {
        int id;
        const KNOWNFOLDERID* known;
    } const cases[] = {
        {0x001a, &FOLDERID_RoamingAppData},  // CSIDL_APPDATA
        {0x001c, &FOLDERID_LocalAppData},    // CSIDL_LOCAL_APPDATA
    };
    for (const Case& c : cases) {
        for (int allowCreate : {0, 1}) {
            char buffer[kFolderPathBytes] = {};
            EXPECT_EQ(LookupShellFolder(buffer, c.id, allowCreate), 1) << c.id;
            EXPECT_EQ(std::string(buffer), KnownFolder(*c.known)) << c.id;
        }
    }
}

TEST(ShellFolder, UnknownFolderIdIsAFailure) {
    char buffer[kFolderPathBytes] = {};
    EXPECT_EQ(LookupShellFolder(buffer, 0x00ff, 1), 0);
}

TEST(ShellFolder, LibraryIsNotKeptBetweenCalls) {
    char buffer[kFolderPathBytes] = {};
    ASSERT_EQ(GetModuleHandleA("shfolder.dll"), nullptr);
    EXPECT_EQ(LookupDocumentsFolder(buffer), 1);
    EXPECT_EQ(GetModuleHandleA("shfolder.dll"), nullptr);
}

}  // namespace
}  // namespace link14
