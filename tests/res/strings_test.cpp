// The message catalogue: the string table read back block by block and
// through LoadString, against the catalogue's texts.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "tests/res/catalogue_expected.h"
#include "tests/res/resource_file.h"

namespace link14::test {
namespace {

constexpr WORD kJapanese = 0x0411;

// One block's sixteen slots; throws when the block is not exactly sixteen
// counted strings.
std::vector<std::u16string> Block(unsigned block) {
    auto data = Executable().Find(RT_STRING, MAKEINTRESOURCEW(block), kJapanese);
    if (!data) return {};
    Reader r(*data);
    std::vector<std::u16string> slots;
    for (int i = 0; i < 16; ++i) slots.push_back(r.Utf16(r.U16()));
    EXPECT_TRUE(r.AtEnd()) << "block " << block << " has bytes after its sixteen slots";
    return slots;
}

std::optional<std::u16string> Lookup(unsigned id) {
    auto slots = Block(id / 16 + 1);
    if (slots.empty() || slots[id % 16].empty()) return std::nullopt;
    return slots[id % 16];
}

std::map<unsigned, std::u16string> Catalogue() {
    std::map<unsigned, std::u16string> m;
    for (const CatalogueEntry& e : kCatalogue) m[e.id] = e.text;
    return m;
}

TEST(StringTable, BlocksPresentAndOnlyInJapanese) {
    std::set<unsigned> blocks;
    for (const ResourceFile::Entry& e : Executable().Enumerate()) {
        if (e.type != L"#6") continue;
        EXPECT_EQ(e.language, kJapanese) << Utf8(e.name);
        blocks.insert(static_cast<unsigned>(std::stoul(e.name.substr(1))));
    }
    // Blocks follow from the identifiers: no entry lies in 160..175, so
    // there is no block 11.
    EXPECT_EQ(blocks, (std::set<unsigned>{7, 8, 9, 10, 12, 126, 127, 147, 626, 627}));
}

TEST(StringTable, EveryCatalogueEntryExactlyAndNothingElse) {
    const auto catalogue = Catalogue();
    EXPECT_EQ(catalogue.size(), 61u);
    for (unsigned block : {7u, 8u, 9u, 10u, 12u, 126u, 127u, 147u, 626u, 627u}) {
        const auto slots = Block(block);
        ASSERT_EQ(slots.size(), 16u) << "block " << block;
        for (unsigned i = 0; i < 16; ++i) {
            const unsigned id = (block - 1) * 16 + i;
            auto it = catalogue.find(id);
            if (it == catalogue.end()) {
                EXPECT_TRUE(slots[i].empty()) << "slot " << id << " should be empty";
            } else {
                EXPECT_EQ(slots[i], it->second) << "entry " << id;
            }
        }
    }
}

TEST(StringTable, LoadStringFindsEveryEntryWithoutNamingTheLanguage) {
    for (const CatalogueEntry& e : kCatalogue) {
        const wchar_t* text = nullptr;
        const int n = LoadStringW(Executable().handle(), e.id, reinterpret_cast<LPWSTR>(&text), 0);
        ASSERT_GT(n, 0) << "entry " << e.id;
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(n)),
                  std::u16string(e.text))
            << "entry " << e.id;
    }
}

TEST(StringTable, TextsWrittenOutHere) {
    // Spelled out independently of the catalogue file.
    struct Case {
        unsigned id;
        const char16_t* text;
    } cases[] = {
        {100, u"main"},
        {10010, u"AppRunオブジェクトの作成に失敗しました。"},
        {107, u"戻る(&B)\tAlt+←"},
        {108, u"進む(&F)\tAlt+→"},
        {106, u"ファイル（データ）パスが長すぎます。\nファイル（データ）名を短くしてください。"},
        {191, u"次の文字を使用できません。\n\\/:;*?\"<>|"},
        {2013, u"ログイン"},
        {10003,
         u"指定されたファイル名は既に存在しています。\n\nデータの作成を行うと現在のファイルの内容に"
         u"\n"
         u"上書きします。よろしいですか？"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Lookup(c.id), std::u16string(c.text)) << "entry " << c.id;
    }
    const std::u16string tail = Lookup(191).value_or(u"");
    ASSERT_GE(tail.size(), 10u);
    EXPECT_EQ(tail.substr(tail.size() - 11), u"\n\\/:;*?\"<>|");
}

TEST(StringTable, AbsentIdentifiers) {
    // 124: empty slot inside block 8; 165: where block 11 would be; 5000:
    // block 313, missing; 10008: empty slot in block 626.
    for (unsigned id : {124u, 125u, 127u, 165u, 5000u, 10008u, 10019u, 0u}) {
        EXPECT_FALSE(Lookup(id).has_value()) << "entry " << id;
        const wchar_t* text = nullptr;
        EXPECT_EQ(LoadStringW(Executable().handle(), id, reinterpret_cast<LPWSTR>(&text), 0), 0)
            << "entry " << id;
    }
}

TEST(StringTable, NoCarriageReturnAndEveryTextSurvivesCodePage932) {
    for (const CatalogueEntry& e : kCatalogue) {
        const std::u16string text = Lookup(e.id).value_or(u"");
        ASSERT_FALSE(text.empty()) << "entry " << e.id;
        EXPECT_EQ(text.find(u'\r'), std::u16string::npos) << "entry " << e.id;
        // The launcher shows these in the ANSI code page of Japanese Windows.
        const auto* w = reinterpret_cast<const wchar_t*>(text.data());
        const int wn = static_cast<int>(text.size());
        BOOL lossy = FALSE;
        const int n =
            WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, w, wn, nullptr, 0, nullptr, &lossy);
        std::string sjis(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, w, wn, sjis.data(), n, nullptr, &lossy);
        EXPECT_FALSE(lossy) << "entry " << e.id;
        std::wstring back(static_cast<size_t>(wn) * 2, L'\0');
        back.resize(
            static_cast<size_t>(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data(), n,
                                                    back.data(), static_cast<int>(back.size()))));
        EXPECT_EQ(back, std::wstring(w, w + wn)) << "entry " << e.id;
    }
}

}  // namespace
}  // namespace link14::test
