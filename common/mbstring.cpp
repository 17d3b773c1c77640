#include "common/mbstring.h"

#include "common/mbcs.h"

namespace link14 {

int FindLastChar(const IString& text, char ch) {
    const int length = text.Length();
    const char* p = text.CStr();
    int found = -1;
    bool secondByte = false;
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (secondByte) {
            secondByte = false;
            continue;
        }
        if (IsLeadByte(c)) secondByte = true;
        if (p[i] == ch) found = i;
    }
    return found;
}

bool IsTrailByteAt(const IString& text, int n) {
    const int length = text.Length();
    if (n < 0 || length == 0) return false;
    const char* p = text.CStr();
    bool secondByte = false;
    bool lastWasSecond = false;
    for (int i = 0; i <= n && i < length; ++i) {
        lastWasSecond = secondByte;
        if (secondByte) {
            secondByte = false;
        } else if (IsLeadByte(static_cast<unsigned char>(p[i]))) {
            secondByte = true;
        }
    }
    return lastWasSecond;
}

IString SafeLeft(const IString& text, int n) {
    if (n <= 0) return IString();
    // At or past the end there is nothing to cut, and n may be INT_MAX.
    if (n >= text.Length()) return text;
    if (IsTrailByteAt(text, n)) ++n;
    return text.Left(n);
}

}  // namespace link14
