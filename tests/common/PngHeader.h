#pragma once
// The first bytes of a PNG file: its signature and a header chunk that gives the size. Enough
// for a reader that looks at the size before it decodes; no pixel data follows.
#include <cstdint>
#include <string>

inline std::string PngHeader(uint32_t width, uint32_t height)
{
    std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (const uint32_t value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((value >> shift) & 0xFF);
    bytes += std::string("\x08\x06\0\0\0", 5);   // 8 bits, RGBA, the usual methods
    bytes += std::string(4, '\0');               // the check sum, which the reader does not test
    return bytes;
}
