// FindLastChar, IsTrailByteAt and SafeLeft (free and member), and the
// double-byte-aware ReplaceAll, over arbitrary bytes and positions, checked
// against a table of which bytes are second bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/istring.h"
#include "common/mbcs.h"
#include "common/mbstring.h"

namespace {

using link14::IString;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

std::vector<bool> SecondBytes(const std::string& s) {
    std::vector<bool> second(s.size(), false);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (link14::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
            second[++i] = true;
        }
    }
    return second;
}

std::string Text(const IString& s) { return std::string(s.CStr(), s.Length()); }

void CheckSafeLeft(const IString& left, const std::string& text, const std::vector<bool>& second,
                   int n) {
    const std::string got = Text(left);
    Check(left.CStr()[left.Length()] == '\0', "SafeLeft result terminated");
    Check(text.compare(0, got.size(), got) == 0, "SafeLeft is a prefix");
    if (n <= 0) {
        Check(got.empty(), "SafeLeft of n <= 0 is empty");
    } else if (static_cast<std::size_t>(n) >= text.size()) {
        Check(got == text, "SafeLeft at or past the end is the whole text");
    } else {
        Check(got.size() == static_cast<std::size_t>(n) + (second[n] ? 1 : 0), "SafeLeft length");
        Check(got.size() == text.size() || !second[got.size()],
              "SafeLeft never cuts a double-byte character");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    std::int32_t n;
    std::memcpy(&n, data, sizeof n);
    const char ch = static_cast<char>(data[4]);
    const std::string text(reinterpret_cast<const char*>(data) + 5, size - 5);
    const IString s(text.data(), static_cast<int>(text.size()));
    const std::vector<bool> second = SecondBytes(text);
    const int length = static_cast<int>(text.size());

    int last = -1;
    for (int i = 0; i < length; ++i) {
        if (!second[i] && text[i] == ch) last = i;
    }
    Check(link14::FindLastChar(s, ch) == last, "FindLastChar");

    // A few positions around the fuzzed one, the ends and the extremes.
    const int positions[] = {n,      n % (length + 2), -1,        0,        length - 1,
                             length, length + 1,       INT32_MAX, INT32_MIN};
    for (int p : positions) {
        const bool expected = p >= 0 && length > 0 && second[p < length ? p : length - 1];
        Check(link14::IsTrailByteAt(s, p) == expected, "IsTrailByteAt");
        CheckSafeLeft(link14::SafeLeft(s, p), text, second, p);
        CheckSafeLeft(s.SafeLeft(p), text, second, p);
    }

    // Replacing the separators touches no second byte.
    IString replaced(s);
    int separators = 0;
    std::string expected;
    for (int i = 0; i < length; ++i) {
        const bool sep = !second[i] && text[i] == '\\';
        separators += sep;
        expected += sep ? std::string("//") : std::string(1, text[i]);
    }
    Check(replaced.ReplaceAll("\\", "//") == separators, "ReplaceAll count");
    Check(Text(replaced) == expected, "ReplaceAll result");
    return 0;
}
