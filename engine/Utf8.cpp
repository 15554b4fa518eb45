#include "engine/Utf8.h"

namespace
{
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the character starting at text[at], 0 when it is not well-formed there.
size_t CharacterLength(std::string_view text, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;   // the range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;    // overlong
        high = lead == 0xED ? 0x9F : 0xBF;   // surrogates
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;    // overlong
        high = lead == 0xF4 ? 0x8F : 0xBF;   // past U+10FFFF
    }
    else
        return 0;
    if (at + length > text.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (!IsContinuation(byte(i)))
            return 0;
    return length;
}
}   // namespace

bool IsValidUtf8(std::string_view text)
{
    for (size_t at = 0; at < text.size();)
    {
        const size_t length = CharacterLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

size_t Utf8PrefixLength(std::string_view text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    size_t cut = maxBytes;
    // Step back over the continuation bytes of the character the cut falls into.
    while (cut > 0 && IsContinuation(static_cast<unsigned char>(text[cut])))
        --cut;
    return cut;
}
