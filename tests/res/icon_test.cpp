// The icon group and its eight images.
#include <gtest/gtest.h>

#include <set>

#include "tests/res/resource_file.h"

namespace link14::test {
namespace {

struct Image {
    int pixels;
    int bits;
};

// Identifiers 1 to 8, in this order.
constexpr Image kImages[] = {{256, 8},  {48, 8},  {32, 8},  {16, 8},
                             {256, 32}, {48, 32}, {32, 32}, {16, 32}};

struct Entry {
    int width, height, colors, planes, bits;
    std::uint32_t bytes;
    int id;
};

std::vector<Entry> GroupEntries() {
    auto group = Executable().Find(RT_GROUP_ICON, MAKEINTRESOURCEW(201), 0x0411);
    if (!group) return {};
    Reader r(*group);
    EXPECT_EQ(r.U16(), 0u);
    EXPECT_EQ(r.U16(), 1u) << "icons, not cursors";
    const int count = r.U16();
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        Entry e{};
        e.width = r.U8();
        e.height = r.U8();
        e.colors = r.U8();
        r.U8();
        e.planes = r.U16();
        e.bits = r.U16();
        e.bytes = r.U32();
        e.id = r.U16();
        entries.push_back(e);
    }
    EXPECT_TRUE(r.AtEnd());
    return entries;
}

TEST(Icon, GroupEntries) {
    const auto entries = GroupEntries();
    ASSERT_EQ(entries.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const Entry& e = entries[static_cast<size_t>(i)];
        EXPECT_EQ(e.id, i + 1);
        EXPECT_EQ(e.width, kImages[i].pixels % 256) << "256 is written as 0";
        EXPECT_EQ(e.height, kImages[i].pixels % 256);
        EXPECT_EQ(e.colors, 0);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.bits, kImages[i].bits);
    }
}

TEST(Icon, EachImageMatchesItsEntryAndLoads) {
    const auto entries = GroupEntries();
    ASSERT_EQ(entries.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const Entry& e = entries[static_cast<size_t>(i)];
        SCOPED_TRACE("image " + std::to_string(e.id));
        auto image = Executable().Find(RT_ICON, MAKEINTRESOURCEW(e.id), 0x0411);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->size(), e.bytes);
        Reader r(*image);
        EXPECT_EQ(r.U32(), 40u) << "bitmap header";
        EXPECT_EQ(r.I32(), kImages[i].pixels);
        EXPECT_EQ(r.I32(), 2 * kImages[i].pixels) << "colour and mask";
        EXPECT_EQ(r.U16(), 1u);
        EXPECT_EQ(r.U16(), kImages[i].bits);

        const int px = kImages[i].pixels;
        HICON icon = CreateIconFromResourceEx(image->data(), static_cast<DWORD>(image->size()),
                                              TRUE, 0x00030000, px, px, LR_DEFAULTCOLOR);
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, px);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

// The pictures are the maker's choice, but not empty: a good part opaque,
// some of it transparent, and more than a handful of colours.
TEST(Icon, ThirtyTwoBitImagesShowAPicture) {
    for (int id = 5; id <= 8; ++id) {
        SCOPED_TRACE("image " + std::to_string(id));
        auto image = Executable().Find(RT_ICON, MAKEINTRESOURCEW(id), 0x0411);
        ASSERT_TRUE(image);
        const int px = kImages[id - 1].pixels;
        Reader r(*image);
        r.Take(40);
        int opaque = 0, clear = 0;
        std::set<std::uint32_t> colours;
        for (int p = 0; p < px * px; ++p) {
            const std::uint32_t bgra = r.U32();
            const std::uint32_t alpha = bgra >> 24;
            if (alpha == 255) ++opaque;
            if (alpha == 0) ++clear;
            if (alpha) colours.insert(bgra & 0xFFFFFF);
        }
        EXPECT_GT(opaque, px * px / 2);
        EXPECT_GT(clear, 0);
        EXPECT_GT(colours.size(), 8u);
    }
}

}  // namespace
}  // namespace link14::test
