#pragma once
// UTF-8 checks for names that become file names or fill fixed text buffers.
#include <cstddef>
#include <string_view>

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing past
// U+10FFFF, no character cut short at the end.
bool IsValidUtf8(std::string_view text);

// The longest prefix of at most maxBytes bytes that does not end inside a character.
size_t Utf8PrefixLength(std::string_view text, size_t maxBytes);
