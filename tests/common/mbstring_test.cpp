#include "common/mbstring.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "common/mbcs.h"

namespace link14 {
namespace {

// Shift-JIS 表 is 0x95 0x5C: its second byte is the value of a backslash.
#define HYO "\x95\x5C"

IString Bytes(const std::string& s) { return IString(s.data(), static_cast<int>(s.size())); }

std::string Text(const IString& s) { return std::string(s.CStr(), s.Length()); }

TEST(LeadBytes, AreThoseOfCodePage932) {
    // Under Wine this is the C runtime's answer for the Japanese ANSI code page.
    for (int c = 0; c < 256; ++c) {
        const bool expected = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(c)), expected)
            << "byte 0x" << std::hex << c;
    }
}

TEST(FindLastChar, SkipsSecondBytes) {
    const struct {
        std::string text;
        char ch;
        int position;
    } cases[] = {
        {"a\\b\\", '\\', 3},
        {"", '\\', -1},
        {"abc", '\\', -1},
        {HYO, '\\', -1},
        {HYO "\\", '\\', 2},
        {"\\" HYO, '\\', 0},
        {"a/b/" HYO, '/', 3},
        {"\x81\x81\\", '\\', 2},             // 0x81 0x81 is one character
        {"\xB1\\", '\\', 1},                 // half-width katakana is single-byte
        {"\xE0\\\xFC\\", '\\', -1},          // both ends of the upper lead range
        {"\xFD\\", '\\', 1},                 // 0xFD is not a lead byte
        {"\x80\\\xA0\\", '\\', 3},           // nor are 0x80 and 0xA0
        {"a\\\x95", '\\', 1},                // a lone lead byte at the end
        {HYO, '\x95', 0},                    // lead bytes compare like single bytes
        {std::string("a\0\\", 3), '\\', 2},  // the length counts, not a terminator
        {std::string("\\\0", 2), '\0', 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindLastChar(Bytes(c.text), c.ch), c.position) << "in \"" << c.text << "\"";
    }
}

TEST(IsTrailByteAt, PositionsInsideAtAndPastTheEnd) {
    const struct {
        std::string text;
        int position;
        bool trail;
    } cases[] = {
        {"ab" HYO "c", -1, false},
        {"ab" HYO "c", 0, false},
        {"ab" HYO "c", 1, false},
        {"ab" HYO "c", 2, false},
        {"ab" HYO "c", 3, true},
        {"ab" HYO "c", 4, false},
        {"ab" HYO "c", 5, false},  // at the end: the last byte, 'c'
        {"ab" HYO "c", INT_MAX, false},
        {"a" HYO, 2, true},
        {"a" HYO, 3, true},  // at the end: the last byte is a second byte
        {"a" HYO, 50, true},
        {"a" HYO, INT_MAX, true},
        {"a" HYO, INT_MIN, false},
        {"\x95", 0, false},
        {"\x95", 1, false},
        {"\x95\x95\x95", 2, false},  // 0x95 0x95 is one character
        {"\x95\x95\x95", 1, true},
        {"", 0, false},
        {"", 5, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsTrailByteAt(Bytes(c.text), c.position), c.trail)
            << "\"" << c.text << "\" at " << c.position;
    }
}

TEST(SafeLeft, NeverCutsADoubleByteCharacter) {
    const struct {
        std::string text;
        int n;
        std::string left;
    } cases[] = {
        {"ab" HYO "c", -1, ""},
        {"ab" HYO "c", INT_MIN, ""},
        {"ab" HYO "c", 0, ""},
        {"ab" HYO "c", 1, "a"},
        {"ab" HYO "c", 2, "ab"},
        {"ab" HYO "c", 3, "ab" HYO},
        {"ab" HYO "c", 4, "ab" HYO},
        {"ab" HYO "c", 5, "ab" HYO "c"},
        {"ab" HYO "c", 9, "ab" HYO "c"},
        {"ab" HYO "c", INT_MAX, "ab" HYO "c"},
        {"a" HYO, 2, "a" HYO},
        {"a" HYO, 3, "a" HYO},
        {"a" HYO, INT_MAX, "a" HYO},
        {HYO HYO, 1, HYO},
        {HYO HYO, 3, HYO HYO},
        {"a\\" HYO "\\", 3, "a\\" HYO},
        {"", 0, ""},
        {"", 3, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "\"" << c.text << "\", " << c.n);
        EXPECT_EQ(Text(SafeLeft(Bytes(c.text), c.n)), c.left);
        EXPECT_EQ(Text(Bytes(c.text).SafeLeft(c.n)), c.left);
    }
}

}  // namespace
}  // namespace link14
