// Every resource of the executable: type, name, language and, where it is
// fixed, size. Anything extra or missing fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "tests/res/catalogue_expected.h"
#include "tests/res/expected.h"
#include "tests/res/resource_file.h"

namespace link14::test {
namespace {

using Key = std::tuple<std::wstring, std::wstring, WORD>;

std::wstring Id(unsigned n) { return L"#" + std::to_wstring(n); }

// Size of a string-table block: sixteen counted slots.
std::map<unsigned, DWORD> StringBlockSizes() {
    std::map<unsigned, DWORD> sizes;
    for (const CatalogueEntry& e : kCatalogue) {
        const unsigned block = e.id / 16u + 1u;
        if (!sizes.count(block)) sizes[block] = 16 * 2;
        sizes[block] += static_cast<DWORD>(std::char_traits<char16_t>::length(e.text) * 2);
    }
    return sizes;
}

std::map<Key, DWORD> Expected() {
    constexpr DWORD kAnySize = 0;
    constexpr WORD ja = 0x0411;
    std::map<Key, DWORD> e;
    for (const auto& [block, size] : StringBlockSizes()) e[{Id(6), Id(block), ja}] = size;
    const DWORD templates[] = {1262, 826, 1370, 506};
    const DWORD init[] = {2844, 1854, 3214, 1068};
    for (unsigned i = 0; i < 4; ++i) {
        e[{Id(5), Id(20001 + i), ja}] = templates[i];
        e[{Id(240), Id(20001 + i), ja}] = init[i];
    }
    e[{Id(24), Id(1), 0x0409}] = kAnySize;
    e[{Id(16), Id(1), ja}] = kAnySize;
    e[{Id(14), Id(201), ja}] = 6 + 8 * 14;
    for (unsigned i = 1; i <= 8; ++i) e[{Id(3), Id(i), ja}] = kAnySize;
    e[{L"REGISTRY", Id(101), ja}] = static_cast<DWORD>(kRegistrationScript.size());
    e[{L"TYPELIB", Id(1), ja}] = kAnySize;
    return e;
}

TEST(Inventory, ExactlyTheResourcesOfTheComponent) {
    std::map<Key, DWORD> actual;
    for (const ResourceFile::Entry& r : Executable().Enumerate()) {
        EXPECT_TRUE(actual.emplace(Key{r.type, r.name, r.language}, r.size).second)
            << "listed twice: " << Utf8(r.type) << " " << Utf8(r.name);
    }
    const std::map<Key, DWORD> expected = Expected();
    for (const auto& [key, size] : expected) {
        const auto& [type, name, lang] = key;
        SCOPED_TRACE(Utf8(type) + " " + Utf8(name) + " language " + std::to_string(lang));
        auto found = actual.find(key);
        ASSERT_NE(found, actual.end()) << "missing";
        EXPECT_GT(found->second, 0u);
        if (size != 0) {
            EXPECT_EQ(found->second, size);
        }
    }
    for (const auto& [key, size] : actual) {
        const auto& [type, name, lang] = key;
        EXPECT_TRUE(expected.count(key))
            << "unexpected resource " << Utf8(type) << " " << Utf8(name) << " language " << lang;
    }
}

}  // namespace
}  // namespace link14::test
