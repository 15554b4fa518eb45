// An animation state file: read by a sequencer, switched to and played for a few frames on an
// entity with a sprite and an animation.
#include "graphics/AnimationSequencer.h"
#include "scene/Entity.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzKit::Setup().Write("Anims/Fuzz.json", FuzzKit::Text(data, size));
    Entity entity;
    entity.Read(json::parse(R"({"Name": "Bot", "Components": [
        {"Type": "Sprite", "Texture": "White"},
        {"Type": "Animation", "FrameCount": 2, "FrameDuration": 0.1, "Dimensions": [2, 1]},
        {"Type": "AnimationSequencer", "States": ["Fuzz"]}]})"));
    auto* sequencer = entity.GetComponent<AnimationSequencer>();
    if (sequencer && !sequencer->States.empty())
    {
        sequencer->SetState(sequencer->States.front().name);
        for (int frame = 0; frame < 4; ++frame)
            for (Component* component : entity.components)
                component->Update(0.05f);
    }
    return 0;
}
