#pragma once
// A volume slider: a horizontal bar that the player holds and drags. While the button is held,
// the cursor's horizontal place on the bar (solved through the camera at the thumb's height and
// depth) gives a value from MinIndex at the bar's left end to MaxIndex at its right end, clamped
// to them, which is at once the volume of the bus named by the entity: "MasterVolumeSlider",
// "MusicVolumeSlider", "SfxVolumeSlider" or "UiVolumeSlider" (any other name sets none). Every
// update it publishes where its thumb stands (over the bar at the value's share of its width,
// 0.25 above its middle) in SliderTable under ThumbName, where the BehaviorThumb of that name
// finds it. At its first update it takes its bus's volume, so the thumb shows the volume heard.
//
// Promises: a volume given to a bus lies in [0, 1]; a value read that is not a finite number is
// refused with a log line; a bar whose two ends are equal keeps its thumb at its left end and
// its value there, without a division by zero.
#include "engine/Matrix4.h"
#include "ui/Button.h"

#include <string>
#include <unordered_map>

namespace Sound
{
class ChannelGroup;
}   // namespace Sound

class BehaviorSliderButton : public Button
{
public:
    static inline std::unordered_map<std::string, Vec3> SliderTable;   // thumb name -> its place

    Component* Clone() const override { return new BehaviorSliderButton(*this); }
    // Button's keys, "Type", "MinIndex", "MaxIndex", "Index", "ThumbName".
    void Write(json& out) const override;
    void Read(const json& in) override;   // each key only when present

    std::string GetName() const override { return "BehaviorSliderButton"; }
    void OnInit() override;   // takes the bus's volume
    void OnUpdate(float dt) override;
    void OnPressed() override { Dragging = true; }     // no tint, no sound
    void OnReleased() override { Dragging = false; }   // no tint

    // The bus a slider entity of that name sets; null for another name or a missing group.
    static Sound::ChannelGroup* BusOf(const std::string& name);
    static bool IsSliderName(const std::string& name);
    // Where the value lies between the ends, 0 at MinIndex and 1 at MaxIndex; 0 when they are equal.
    float Fraction() const;
    // The value at that share of the bar, within the ends.
    float ValueAt(float fraction) const;
    // Every published thumb to x 0.5; every slider of the open pause overlay, and every bus, at
    // half volume. The thumbs follow at the sliders' next update.
    static void ResetVolumes();

    bool Dragging = false;
    float MinIndex = 0.0f;
    float MaxIndex = 1.0f;
    float Index = 0.5f;
    std::string ThumbName = "Thumb";

private:
    void SetIndex(float value);   // within the ends
};
