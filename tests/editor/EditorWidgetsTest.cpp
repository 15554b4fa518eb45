// Text buffers of the editor's fields: filled from names without splitting a character.
#include "editor/EditorWidgets.h"
#include "engine/Utf8.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
TEST(EditorWidgets, BuffersAreCutOnACharacterBoundary)
{
    // 200 two-byte characters into 256 bytes: 127 characters fit with the terminator.
    std::string name;
    for (int i = 0; i < 200; ++i)
        name += "\xc3\xa4";
    char buffer[256];
    CopyToBuffer(buffer, sizeof buffer, name);
    EXPECT_EQ(std::string(buffer).size(), 254u);
    EXPECT_TRUE(IsValidUtf8(buffer));
}
}   // namespace
