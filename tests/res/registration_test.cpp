// The registrar script and the type library of the module.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/res/expected.h"
#include "tests/res/resource_file.h"

namespace link14::test {
namespace {

TEST(RegistrationScript, ExactBytes) {
    auto data = Executable().Find(L"REGISTRY", MAKEINTRESOURCEW(101), 0x0411);
    ASSERT_TRUE(data);
    EXPECT_EQ(std::string(data->begin(), data->end()), kRegistrationScript);
}

// {A6BC20B0-7A1B-4A75-A4FC-BBAAF77572E5}
const GUID kLibId = {0xA6BC20B0, 0x7A1B, 0x4A75, {0xA4, 0xFC, 0xBB, 0xAA, 0xF7, 0x75, 0x72, 0xE5}};

class TypeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        // The platform's loader finds TYPELIB 1 in the module by itself.
        ASSERT_EQ(LoadTypeLibEx(ExecutablePath().c_str(), REGKIND_NONE, &lib_), S_OK);
    }
    void TearDown() override {
        if (lib_) lib_->Release();
    }
    ITypeLib* lib_ = nullptr;
};

TEST_F(TypeLibrary, Attributes) {
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(lib_->GetLibAttr(&attr), S_OK);
    EXPECT_TRUE(IsEqualGUID(attr->guid, kLibId));
    EXPECT_EQ(attr->lcid, 0x0409u);
    EXPECT_EQ(attr->syskind, SYS_WIN32);
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    // Only the loader's own mark of a library read from a file.
    EXPECT_EQ(attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE, 0);
    lib_->ReleaseTLibAttr(attr);
    EXPECT_EQ(lib_->GetTypeInfoCount(), 0u);
}

TEST_F(TypeLibrary, NameAndHelpString) {
    BSTR name = nullptr, doc = nullptr, help_file = nullptr;
    DWORD context = 1;
    ASSERT_EQ(lib_->GetDocumentation(-1, &name, &doc, &context, &help_file), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), L"mainLib");
    // Stored in code page 932; read back whole under a Japanese locale.
    EXPECT_EQ(std::wstring(doc ? doc : L""), L"main 1.0 タイプ ライブラリ");
    EXPECT_EQ(context, 0u);
    EXPECT_EQ(help_file, nullptr);
    SysFreeString(name);
    SysFreeString(doc);
    SysFreeString(help_file);
}

// Name lookups hash with the library's locale; the stored hash and bucket
// must be the platform's value for it, or FindName would miss the name.
TEST(TypeLibraryFile, NameHashIsThePlatformsForTheLibraryLocale) {
    auto data = Executable().Find(L"TYPELIB", MAKEINTRESOURCEW(1), 0x0411);
    ASSERT_TRUE(data);
    Reader header(*data);
    EXPECT_EQ(header.U32(), 0x5446534Du) << "MSFT";
    header.Take(0x0C - 4);
    const std::uint32_t lcid = header.U32();
    header.U32();
    const std::uint32_t varflags = header.U32();
    header.Take(0x20 - 0x18);
    const std::uint32_t typeinfos = header.U32();
    header.Take(0x38 - 0x24);
    const std::uint32_t name_offset = header.U32();
    header.Take(0x54 - 0x3C);
    header.Take(4 * typeinfos + ((varflags & 0x100) ? 4 : 0));
    std::uint32_t segment[15][2];
    for (auto& s : segment) {
        s[0] = header.U32();
        s[1] = header.U32();
        header.Take(8);
    }
    const std::uint32_t name_hash_table = segment[6][0], name_table = segment[7][0];
    Reader entry(*data);
    entry.Take(name_table + name_offset + 8);
    const std::uint32_t namelen = entry.U32();
    const std::string name(reinterpret_cast<const char*>(data->data()) + entry.offset(),
                           namelen & 0xFF);
    EXPECT_EQ(name, "mainLib");
    const ULONG hash = LHashValOfNameSysA(SYS_WIN32, lcid, name.c_str());
    EXPECT_EQ(namelen >> 16, hash & 0xFFFF);
    Reader bucket(*data);
    bucket.Take(name_hash_table + 4 * (hash & 0x7F));
    EXPECT_EQ(bucket.U32(), name_offset);
}

}  // namespace
}  // namespace link14::test
