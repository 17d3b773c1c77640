// The shell folder lookup in a process whose loader refuses the shell folder
// library (the test entry disables it through the DLL overrides).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "common/folders.h"

namespace link14 {
namespace {

TEST(ShellFolderAbsent, BufferIsLeftEmpty) {
    HMODULE probe = LoadLibraryA("shfolder.dll");
    if (probe) FreeLibrary(probe);
    ASSERT_EQ(probe, nullptr) << "the environment must disable the library";

    for (int allowCreate : {1, 0}) {
        char buffer[kFolderPathBytes];
        std::memset(buffer, 'x', sizeof(buffer));
        EXPECT_EQ(LookupShellFolder(buffer, 5, allowCreate), 0);
        EXPECT_EQ(buffer[0], '\0');
    }
    char buffer[kFolderPathBytes];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(LookupDocumentsFolder(buffer), 0);
    EXPECT_EQ(buffer[0], '\0');
}

}  // namespace
}  // namespace link14
