#pragma once
#include "tests/audio/AudioTestKit.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace AudioTestKit
{
// The audio system opened on the offline mixer over a data folder of its own, whose registry
// names four tones: "Tone" (effects, looping sample), "ToneUi" (interface, looping sample),
// "ToneMusic" (music, looping stream) and "Blip" (effects, 0.1 s one-shot). Every tone has the
// same level. Shut down, data folder and audio player listener restored at the end.
class OfflineAudioTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<float> Render(double seconds);
    double Level();         // the RMS of the mix after a short settle
    void Frame(float dt);   // one game frame of the audio system: Update then EndFrame

    TempFolder folder;
    std::string savedDataRoot;
};
}   // namespace AudioTestKit
