// The unit tests' entry point: data paths resolve against the source tree's Data folder.
#include "engine/DataPath.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    SetDataRoot(ZOVERAV_SOURCE_DIR "/Data");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
