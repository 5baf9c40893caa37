#include "encoding/utf8.h"

namespace HarborKestrel {

std::string Utf8FromCodePoint(std::uint32_t nCodePoint) {
    std::string strOut;
    if (nCodePoint < 0x80) {
        strOut += char(nCodePoint);
    } else if (nCodePoint < 0x800) {
        strOut += char(0xC0 | (nCodePoint >> 6));
        strOut += char(0x80 | (nCodePoint & 0x3F));
    } else if (nCodePoint < 0x10000) {
        strOut += char(0xE0 | (nCodePoint >> 12));
        strOut += char(0x80 | ((nCodePoint >> 6) & 0x3F));
        strOut += char(0x80 | (nCodePoint & 0x3F));
    } else if (nCodePoint < 0x200000) {
        strOut += char(0xF0 | (nCodePoint >> 18));
        strOut += char(0x80 | ((nCodePoint >> 12) & 0x3F));
        strOut += char(0x80 | ((nCodePoint >> 6) & 0x3F));
        strOut += char(0x80 | (nCodePoint & 0x3F));
    }
    return strOut;
}

}  // namespace HarborKestrel
