// The shell folder lookup against the stand-in library beside this program
// (the test entry makes the loader prefer it). The stand-in answers as the
// environment says and logs its loads, calls and unloads there.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "common/folders.h"

namespace link14 {
namespace {

std::string Variable(const char* name) {
    char value[4096] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
    return (n == 0 || n >= sizeof(value)) ? std::string() : std::string(value, n);
}

struct Case {
    const char* current;   // how the stand-in answers the first attempt
    const char* fallback;  // and the second
    int allowCreate;
    int result;
    const char* buffer;
    const char* log;
};

TEST(ShellFolderStandIn, SecondAttemptAsksForTheDefaultPathWithCreation) {
    const Case cases[] = {
        // Success with an empty path does not count: the default path is asked for.
        {"empty", "path", 1, 1, "C:\\stand-in\\default", "load;5:0;32773:1;unload;"},
        {"fail", "path", 1, 1, "C:\\stand-in\\default", "load;5:0;32773:1;unload;"},
        {"path", "path", 1, 1, "C:\\stand-in\\current", "load;5:0;unload;"},
        {"empty", "path", 0, 0, "", "load;5:0;unload;"},
        {"empty", "empty", 1, 0, "", "load;5:0;32773:1;unload;"},
        {"fail", "fail", 1, 0, "C:\\stand-in\\failed", "load;5:0;32773:1;unload;"},
    };
    for (const Case& c : cases) {
        SetEnvironmentVariableA("LINK14_SHFOLDER_CURRENT", c.current);
        SetEnvironmentVariableA("LINK14_SHFOLDER_DEFAULT", c.fallback);
        SetEnvironmentVariableA("LINK14_SHFOLDER_LOG", nullptr);
        char buffer[kFolderPathBytes];
        std::memset(buffer, 'x', sizeof(buffer));
        const std::string what = std::string(c.current) + "/" + c.fallback + " allowCreate " +
                                 std::to_string(c.allowCreate);
        EXPECT_EQ(LookupShellFolder(buffer, 5, c.allowCreate), c.result) << what;
        EXPECT_EQ(std::string(buffer), c.buffer) << what;
        EXPECT_EQ(Variable("LINK14_SHFOLDER_LOG"), c.log) << what;
    }
}

TEST(ShellFolderStandIn, DocumentsFolderAsksTwiceWhenTheCurrentPathIsEmpty) {
    SetEnvironmentVariableA("LINK14_SHFOLDER_CURRENT", nullptr);
    SetEnvironmentVariableA("LINK14_SHFOLDER_DEFAULT", nullptr);
    SetEnvironmentVariableA("LINK14_SHFOLDER_LOG", nullptr);
    char buffer[kFolderPathBytes] = {};
    EXPECT_EQ(LookupDocumentsFolder(buffer), 1);
    EXPECT_STREQ(buffer, "C:\\stand-in\\default");
    // Folder 5 with the create flag 0x8000, type 1 (default path), no window or token.
    EXPECT_EQ(Variable("LINK14_SHFOLDER_LOG"), "load;5:0;32773:1;unload;");

    // Bound afresh on the next call too.
    EXPECT_EQ(LookupDocumentsFolder(buffer), 1);
    EXPECT_EQ(Variable("LINK14_SHFOLDER_LOG"), "load;5:0;32773:1;unload;load;5:0;32773:1;unload;");
}

}  // namespace
}  // namespace link14
