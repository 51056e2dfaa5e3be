#include "TranscodedString.h"

TranscodedString::TranscodedString(const XMLCh* source)
{
    if (!source)
        return;
    for (const XMLCh* unit = source; *unit; ++unit) {
        if (*unit < 0x100) {
            text += static_cast<char>(static_cast<unsigned char>(*unit));
        } else {
            text += '?';
            // A surrogate pair is one character.
            if (*unit >= 0xD800 && *unit < 0xDC00 && unit[1] >= 0xDC00 && unit[1] < 0xE000)
                ++unit;
        }
    }
}
