// UTF-8 checks for names: what counts as well-formed, and prefixes that never split a character.
#include "engine/Utf8.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
TEST(Utf8, WellFormedTextOnly)
{
    const struct
    {
        std::string text;
        bool valid;
    } cases[] = {
        {"", true},
        {"Level one", true},
        {"Wie\xc3\xa4n", true},           // a, two bytes
        {"\xe2\x82\xac", true},           // euro sign, three
        {"\xf0\x9f\x99\x82", true},       // four
        {"\xf4\x8f\xbf\xbf", true},       // U+10FFFF
        {"\xff", false},                  // never a UTF-8 byte
        {"\x80", false},                  // a continuation on its own
        {"\xc3", false},                  // cut short at the end
        {"\xe2\x82", false},              // cut short at the end
        {"\xc3(", false},                 // a lead without its continuation
        {"\xc0\xaf", false},              // overlong '/'
        {"\xe0\x80\xaf", false},          // overlong '/'
        {"\xed\xa0\x80", false},          // a surrogate
        {"\xf4\x90\x80\x80", false},      // past U+10FFFF
        {std::string("a\0b", 3), true},   // NUL is a character
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidUtf8(c.text), c.valid) << testing::PrintToString(c.text);
}

TEST(Utf8, PrefixesEndOnACharacterBoundary)
{
    const std::string text = "a\xc3\xa4\xe2\x82\xac";   // 1, 2 and 3 bytes
    const size_t expected[] = {0, 1, 1, 3, 3, 3, 6, 6};
    for (size_t max = 0; max < std::size(expected); ++max)
        EXPECT_EQ(Utf8PrefixLength(text, max), expected[max]) << max;
}
}   // namespace
