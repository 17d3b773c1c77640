// Double-byte awareness for 8-bit text in the ANSI code page.
#pragma once

namespace link14 {

// True when `c` opens a double-byte character of the process's multibyte
// code page. On Windows this is the C runtime's _ismbblead; elsewhere the
// lead bytes of code page 932, so that the path code behaves the same on
// both builds.
bool IsLeadByte(unsigned char c);

}  // namespace link14
