// Catalogue lookup through the module's resource instances.
#include <gtest/gtest.h>

#include <string>

#include "launcher/fatal_error.h"
#include "launcher/string_lookup.h"
#include "tests/support/paths.h"

namespace link14 {
namespace {

// "致命的なエラーが発生しました。" and the suffix, as code page 932 bytes.
const char kFallback[] =
    "\x92\x76\x96\xBD\x93\x49\x82\xC8\x83\x47\x83\x89\x81\x5B\x82\xAA\x94\xAD\x90\xB6\x82\xB5"
    "\x82\xDC\x82\xB5\x82\xBD\x81\x42";
const char kSuffix[] =
    "\x0A\x8F\x88\x97\x9D\x82\xF0\x8C\x70\x91\xB1\x82\xB7\x82\xE9\x82\xB1\x82\xC6\x82\xAA\x82"
    "\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81\x42";
const wchar_t k10010[] =
    L"AppRun\u30AA\u30D6\u30B8\u30A7\u30AF\u30C8\u306E\u4F5C\u6210\u306B"
    L"\u5931\u6557\u3057\u307E\u3057\u305F\u3002";

std::wstring Entry(HINSTANCE instance, UINT id) {
    const WCHAR* text = nullptr;
    const int length = FindStringEntry(instance, id, &text);
    return length ? std::wstring(text, length) : std::wstring();
}

std::wstring Widen932(const IString& text) {
    const int n =
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.CStr(), text.Length(), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.CStr(), text.Length(), &wide[0], n);
    return wide;
}

TEST(StringLookup, EntriesOfTheOwnModule) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    struct Case {
        UINT id;
        const wchar_t* expected;
        const char* what;
    } cases[] = {
        {16000, L"present", "present entry"},
        {16002, L"\u65E5\u672C\u8A9E\u306E\u8868\u793A", "Japanese entry"},
        {16001, L"", "empty slot inside an existing block"},
        {16003, L"", "empty slot after the last entry of a block"},
        {20000, L"", "missing block"},
        {17584, L"A", "first entry of a short block"},
        {17585, L"BC", "second entry of a short block"},
        {17586, L"", "position past the end of a short block"},
        {17599, L"", "last position past the end of a short block"},
    };
    for (const Case& c : cases) EXPECT_EQ(std::wstring(c.expected), Entry(self, c.id)) << c.what;
}

TEST(StringLookup, ComposedTextFallsBackWhenNoInstanceHasTheEntry) {
    ModuleRecord module;
    EXPECT_EQ(IString(kFallback) + kSuffix, ComposeFatalErrorText(module, 16001));
    EXPECT_EQ(IString(kFallback) + kSuffix, ComposeFatalErrorText(module, 17586));
    EXPECT_EQ(IString("present") + kSuffix, ComposeFatalErrorText(module, 16000));
}

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring exe = WindowsPath(EnvironmentText(L"LINK14_LAUNCHER_EXE"));
        ASSERT_FALSE(exe.empty()) << "LINK14_LAUNCHER_EXE is not set";
        launcher_ = LoadLibraryExW(exe.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, launcher_) << GetLastError();
    }
    void TearDown() override {
        if (launcher_) FreeLibrary(launcher_);
    }
    HMODULE launcher_ = nullptr;
};

TEST_F(Catalogue, AddedInstanceIsSearchedBeforeTheOwnModule) {
    ModuleRecord module;
    ASSERT_TRUE(module.AddResourceInstance(launcher_));
    ASSERT_EQ(2, module.InstanceCount());
    EXPECT_EQ(launcher_, module.Instance(0));
    EXPECT_EQ(GetModuleHandleW(nullptr), module.Instance(1));
    // Only the own module has 16000: the search goes on past the launcher.
    EXPECT_EQ(IString("present"), LoadCatalogString(module, 16000));
}

TEST_F(Catalogue, Message10010SurvivesCodePage932BothWays) {
    EXPECT_EQ(std::wstring(k10010), Entry(launcher_, 10010));
    ModuleRecord module;
    module.AddResourceInstance(launcher_);
    const IString text = LoadCatalogString(module, 10010);
    ASSERT_FALSE(text.IsEmpty());
    ASSERT_EQ(932u, GetACP());
    EXPECT_EQ(std::wstring(k10010), Widen932(text));
    const IString box = ComposeFatalErrorText(module, 10010);
    EXPECT_EQ(text + kSuffix, box);
}

TEST_F(Catalogue, EmptySlotInsideACatalogueBlockIsAbsent) {
    // 124 lies in block 8 next to 123, which has text.
    EXPECT_FALSE(Entry(launcher_, 123).empty());
    EXPECT_EQ(L"", Entry(launcher_, 124));
    ModuleRecord module;
    module.AddResourceInstance(launcher_);
    EXPECT_EQ(IString(kFallback) + kSuffix, ComposeFatalErrorText(module, 124));
}

}  // namespace
}  // namespace link14
