#include "common/mbcs.h"

#ifdef _WIN32
#include <mbctype.h>
#endif

namespace link14 {

bool IsLeadByte(unsigned char c) {
#ifdef _WIN32
    return _ismbblead(c) != 0;
#else
    // Shift-JIS lead bytes.
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
#endif
}

}  // namespace link14
