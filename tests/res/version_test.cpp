// The version record, through the version API and as a raw block tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/res/resource_file.h"

namespace link14::test {
namespace {

std::vector<std::uint8_t> VersionInfo() {
    const std::wstring path = ExecutablePath();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    EXPECT_GT(size, 0u);
    std::vector<std::uint8_t> info(size);
    EXPECT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    return info;
}

TEST(Version, FixedPart) {
    auto info = VersionInfo();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    ASSERT_EQ(len, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x000E0000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x0001006Au);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x000E0000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x0001006Au);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 0x4u);
    EXPECT_EQ(fixed->dwFileType, 2u);
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
    EXPECT_EQ(fixed->dwFileDateMS, 0u);
    EXPECT_EQ(fixed->dwFileDateLS, 0u);
}

TEST(Version, Translation) {
    auto info = VersionInfo();
    WORD* pairs = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&pairs), &len));
    ASSERT_EQ(len, 4u);
    EXPECT_EQ(pairs[0], 0x0411);
    EXPECT_EQ(pairs[1], 1252);
}

TEST(Version, Strings) {
    auto info = VersionInfo();
    struct Case {
        const wchar_t* key;
        const wchar_t* value;  // nullptr: the maker's, any non-empty text
    } cases[] = {
        {L"CompanyName", nullptr},
        {L"FileDescription", L"オルバク会計 所得税のゼイリオ 連動コンポーネント"},
        {L"FileVersion", L"14.0.1.106"},
        {L"InternalName", L"ONumra16LINK14"},
        {L"LegalCopyright", nullptr},
        {L"OriginalFilename", L"ONumra16LINK14.EXE"},
        {L"ProductName", L"オルバク会計"},
        {L"ProductVersion", L"14.0.1.106"},
        {L"OLESelfRegister", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(std::wstring(c.key)));
        const std::wstring query = std::wstring(L"\\StringFileInfo\\041104E4\\") + c.key;
        wchar_t* value = nullptr;
        UINT len = 0;
        ASSERT_TRUE(
            VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &len));
        const std::wstring text = value ? std::wstring(value) : std::wstring();
        if (c.value) {
            EXPECT_EQ(text, c.value);
        } else {
            EXPECT_FALSE(text.empty());
        }
    }
}

// One node of the version tree: length, value length, type, key, value and
// children, each 32-bit aligned within the resource.
struct Node {
    std::u16string key;
    std::vector<Node> children;
};

Node ParseNode(Reader& r, std::size_t end) {
    const std::size_t start = r.offset();
    const std::uint16_t length = r.U16();
    const std::uint16_t value_length = r.U16();
    const std::uint16_t type = r.U16();
    Node node;
    node.key = r.Sz();
    r.Align4();
    // Text values count characters, binary ones bytes.
    r.Take(type == 1 ? value_length * 2u : value_length);
    EXPECT_LE(start + length, end) << "node overruns its parent";
    while (r.offset() < start + length) {
        r.Align4();
        if (r.offset() >= start + length) break;
        node.children.push_back(ParseNode(r, start + length));
    }
    EXPECT_EQ(r.offset(), static_cast<std::size_t>(start + length)) << Utf8(node.key);
    return node;
}

TEST(Version, BlocksAndKeysInOrder) {
    auto data = Executable().Find(RT_VERSION, MAKEINTRESOURCEW(1), 0x0411);
    ASSERT_TRUE(data);
    Reader r(*data);
    const Node root = ParseNode(r, data->size());
    EXPECT_EQ(root.key, u"VS_VERSION_INFO");
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0].key, u"StringFileInfo");
    EXPECT_EQ(root.children[1].key, u"VarFileInfo");
    ASSERT_EQ(root.children[0].children.size(), 1u);
    const Node& table = root.children[0].children[0];
    EXPECT_EQ(table.key, u"041104E4");
    std::vector<std::u16string> keys;
    for (const Node& n : table.children) keys.push_back(n.key);
    EXPECT_EQ(keys,
              (std::vector<std::u16string>{u"CompanyName", u"FileDescription", u"FileVersion",
                                           u"InternalName", u"LegalCopyright", u"OriginalFilename",
                                           u"ProductName", u"ProductVersion", u"OLESelfRegister"}));
    ASSERT_EQ(root.children[1].children.size(), 1u);
    EXPECT_EQ(root.children[1].children[0].key, u"Translation");
}

}  // namespace
}  // namespace link14::test
