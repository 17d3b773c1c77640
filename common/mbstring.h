// Double-byte-aware searches and cuts on counted strings.
#pragma once

#include "common/istring.h"

namespace link14 {

// Position of the last `ch` that is not the second byte of a double-byte
// character, or -1.
int FindLastChar(const IString& text, char ch);

// Whether position `n` (or the last byte, for n at or past the end) is the
// second byte of a double-byte character. False for negative n or empty text.
bool IsTrailByteAt(const IString& text, int n);

// The first `n` bytes, one more when the cut would split a double-byte
// character; the whole text when n is at or past its length.
IString SafeLeft(const IString& text, int n);

}  // namespace link14
