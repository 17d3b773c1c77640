#include "common/istring.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace link14 {
namespace {

#define HYO "\x95\x5C"

IString Bytes(const std::string& s) { return IString(s.data(), static_cast<int>(s.size())); }

std::string Text(const IString& s) { return std::string(s.CStr(), s.Length()); }

TEST(IString, EmptyStringsAreTerminatedAndNeverNull) {
    const IString empty;
    const IString fromNull(nullptr);
    const IString fromZeroLength("abc", 0);
    for (const IString* s : {&empty, &fromNull, &fromZeroLength}) {
        EXPECT_TRUE(s->IsEmpty());
        EXPECT_EQ(s->Length(), 0);
        ASSERT_NE(s->CStr(), nullptr);
        EXPECT_EQ(s->CStr()[0], '\0');
        EXPECT_EQ(s->At(0), '\0');
    }
}

TEST(IString, AssignAndAppendKeepCountedBytes) {
    IString s(std::string("a\0b", 3).data(), 3);
    EXPECT_EQ(s.Length(), 3);
    s.Append("cd");
    s.Append('e');
    s.Append(IString("f"));
    s += "g";
    s += 'h';
    EXPECT_EQ(Text(s), std::string("a\0bcdefgh", 9));
    EXPECT_EQ(s.CStr()[9], '\0');
    EXPECT_EQ(s.At(1), '\0');
    EXPECT_EQ(s.At(2), 'b');
    EXPECT_EQ(s.At(-1), '\0');
    EXPECT_EQ(s.At(9), '\0');

    s.Assign("xyz");
    EXPECT_EQ(Text(s), "xyz");
    s.Append(nullptr);
    s.Append("ignored", 0);
    s.Append("ignored", -4);
    EXPECT_EQ(Text(s), "xyz");
    s.Assign(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s.Empty();
    EXPECT_EQ(Text(s), "");
}

TEST(IString, AssigningOrAppendingItsOwnTextIsSafe) {
    IString s("abcdef");
    s.Append(s.CStr());
    EXPECT_EQ(Text(s), "abcdefabcdef");
    s.Append(s);
    EXPECT_EQ(Text(s), "abcdefabcdefabcdefabcdef");
    s.Assign(s.CStr() + 3, 4);
    EXPECT_EQ(Text(s), "defa");
    const IString& alias = s;
    s = alias;
    EXPECT_EQ(Text(s), "defa");
}

TEST(IString, GrowsPastManyReallocations) {
    IString s;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        const char c = static_cast<char>('a' + i % 26);
        s.Append(c);
        expected.push_back(c);
    }
    EXPECT_EQ(Text(s), expected);
}

TEST(IString, CopiesAndMovesAreIndependent) {
    IString a("one");
    IString b(a);
    b.Append("+");
    EXPECT_EQ(Text(a), "one");
    EXPECT_EQ(Text(b), "one+");
    IString c(std::move(b));
    EXPECT_EQ(Text(c), "one+");
    EXPECT_TRUE(b.IsEmpty());  // NOLINT: moved-from state is defined here
    a = std::move(c);
    EXPECT_EQ(Text(a), "one+");
    b = a;
    a.Append("!");
    EXPECT_EQ(Text(b), "one+");
}

TEST(IString, ComparisonAndConcatenation) {
    EXPECT_TRUE(IString("abc") == "abc");
    EXPECT_TRUE(IString("abc") != "abd");
    EXPECT_TRUE(IString("abc") != "ab");
    EXPECT_TRUE(IString() == "");
    EXPECT_TRUE(IString() == nullptr);
    EXPECT_TRUE(Bytes(std::string("a\0b", 3)) == Bytes(std::string("a\0b", 3)));
    EXPECT_FALSE(Bytes(std::string("a\0b", 3)) == "a");
    EXPECT_EQ(Text(IString("C:\\logs") + "\\" + IString("a.txt")), "C:\\logs\\a.txt");
}

TEST(IStringAppendFormat, FormatsLikePrintf) {
    const struct {
        const char* start;
        std::string (*append)(IString&);
        std::string expected;
    } cases[] = {
        {"", [](IString& s) { return Text(s.AppendFormat("%0*d", 4, 7)); }, "0007"},
        {"", [](IString& s) { return Text(s.AppendFormat("%0*d", 2, 123)); }, "123"},
        {"x", [](IString& s) { return Text(s.AppendFormat("%c%0*d", 'H', 2, 1)); }, "xH01"},
        {"log_", [](IString& s) { return Text(s.AppendFormat("%s.%d", "v", 1)); }, "log_v.1"},
        {"a", [](IString& s) { return Text(s.AppendFormat("%s", "")); }, "a"},
        {"a", [](IString& s) { return Text(s.AppendFormat("")); }, "a"},
        {"a", [](IString& s) { return Text(s.AppendFormat(nullptr)); }, "a"},
        {"", [](IString& s) { return Text(s.AppendFormat("%300d", 5)); },
         std::string(299, ' ') + "5"},
    };
    for (const auto& c : cases) {
        IString s(c.start);
        EXPECT_EQ(c.append(s), c.expected);
        EXPECT_EQ(s.CStr()[s.Length()], '\0');
    }
}

TEST(IStringAppendFormat, ArgumentsMayPointIntoTheStringItself) {
    // Short output and output long enough to need a new block.
    for (const std::string& start : {std::string("abc"), std::string(100, 'q')}) {
        IString s(start.c_str());
        s.AppendFormat("|%s|%s", s.CStr(), s.CStr());
        EXPECT_EQ(Text(s), start + "|" + start + "|" + start);
    }
}

TEST(IStringReplaceAll, ReplacesWholeCharactersLeftToRight) {
    const struct {
        std::string text;
        const char* from;
        const char* to;
        std::string result;
        int count;
    } cases[] = {
        {"a\\b\\c", "\\", "/", "a/b/c", 2},
        {HYO "\\", "\\", "/", HYO "/", 1},       // the second byte of 表 stays
        {HYO HYO, "\x5C\x95", "X", HYO HYO, 0},  // no match starts on a second byte
        {"\\" HYO "\\", "\\", "\\\\", "\\\\" HYO "\\\\", 2},
        {"\xB1\\", "\\", "/", "\xB1/", 1},  // half-width katakana is single-byte
        {"a" HYO "b", HYO, "[hyo]", "a[hyo]b", 1},
        {"aaa", "aa", "b", "ba", 1},
        {"abc", "b", "", "ac", 1},
        {"abc", "b", nullptr, "ac", 1},
        {"abc", "b", "bbb", "abbbc", 1},  // no rescan of the replacement
        {"abc", "", "x", "abc", 0},
        {"abc", nullptr, "x", "abc", 0},
        {"abc", "abcd", "x", "abc", 0},
        {"", "a", "b", "", 0},
        {"%date%.txt", "%date%", "20160114", "20160114.txt", 1},
        {"a\\\x95", "\\", "/", "a/\x95", 1},  // a lone lead byte at the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "\"" << c.text << "\" " << (c.from ? c.from : "null"));
        IString s = Bytes(c.text);
        EXPECT_EQ(s.ReplaceAll(c.from, c.to), c.count);
        EXPECT_EQ(Text(s), c.result);
    }
}

TEST(IStringReplaceAll, PatternsFromTheStringItself) {
    IString s("a-b-c");
    IString dash("-");
    s.ReplaceAll(s.CStr() + 1, "+");  // "-b-c": one match at position 1
    EXPECT_EQ(Text(s), "a+");
    IString t("x-y");
    t.ReplaceAll(dash.CStr(), t.CStr());
    EXPECT_EQ(Text(t), "xx-yy");
}

TEST(IStringLeft, PlainAndDoubleByteSafe) {
    const IString text = Bytes("ab" HYO "c");
    const struct {
        int n;
        std::string left, safeLeft;
    } cases[] = {
        {-1, "", ""},
        {0, "", ""},
        {2, "ab", "ab"},
        {3, "ab\x95", "ab" HYO},
        {4, "ab" HYO, "ab" HYO},
        {5, "ab" HYO "c", "ab" HYO "c"},
        {1000, "ab" HYO "c", "ab" HYO "c"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(text.Left(c.n)), c.left) << c.n;
        EXPECT_EQ(Text(text.SafeLeft(c.n)), c.safeLeft) << c.n;
    }
}

}  // namespace
}  // namespace link14
