#include "ui/BehaviorSliderButton.h"

#include "audio/AudioPlayer.h"
#include "engine/InputSystem.h"
#include "engine/TraceSystem.h"
#include "graphics/Camera.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"

#include <algorithm>
#include <cmath>

namespace
{
struct Slider
{
    const char* name;
    Sound::ChannelGroup* AudioPlayer::*group;
};
constexpr Slider Sliders[] = {
    {"MasterVolumeSlider", &AudioPlayer::MasterGroup},
    {"MusicVolumeSlider", &AudioPlayer::MusicGroup},
    {"SfxVolumeSlider", &AudioPlayer::SfxGroup},
    {"UiVolumeSlider", &AudioPlayer::UiGroup},
};

constexpr float HalfVolume = 0.5f;
constexpr float ThumbRise = 0.25f;   // the thumb stands this far above the bar's middle

float Volume(float value) { return std::clamp(value, 0.0f, 1.0f); }

// Reads a number key into field when it is there and a finite number; anything else is said and left.
void ReadValue(const json& in, const char* key, float& field)
{
    const auto found = in.find(key);
    if (found == in.end())
        return;
    if (const std::optional<float> number = NumberAs<float>(*found))
        field = *number;
    else
        Log("COMPONENT: [BehaviorSliderButton] \"", key, "\" is ", JsonSummary(*found),
            ", not a number; kept ", field);
}
}   // namespace

bool BehaviorSliderButton::IsSliderName(const std::string& name)
{
    return std::any_of(std::begin(Sliders), std::end(Sliders),
                       [&](const Slider& slider) { return name == slider.name; });
}

Sound::ChannelGroup* BehaviorSliderButton::BusOf(const std::string& name)
{
    for (const Slider& slider : Sliders)
        if (name == slider.name)
            return AudioPlayer::GetInstance()->*slider.group;
    return nullptr;
}

void BehaviorSliderButton::Write(json& out) const
{
    Button::Write(out);
    out["Type"] = "BehaviorSliderButton";
    out["MinIndex"] = MinIndex;
    out["MaxIndex"] = MaxIndex;
    out["Index"] = Index;
    out["ThumbName"] = ThumbName;
}

void BehaviorSliderButton::Read(const json& in)
{
    Button::Read(in);
    ReadValue(in, "MinIndex", MinIndex);
    ReadValue(in, "MaxIndex", MaxIndex);
    float index = Index;
    ReadValue(in, "Index", index);
    SetIndex(index);
    ReadKey(in, "ThumbName", ThumbName);
}

void BehaviorSliderButton::SetIndex(float value)
{
    Index = std::clamp(value, std::min(MinIndex, MaxIndex), std::max(MinIndex, MaxIndex));
}

float BehaviorSliderButton::Fraction() const
{
    const float range = MaxIndex - MinIndex;
    if (range == 0.0f || !std::isfinite(range))
        return 0.0f;
    return std::clamp((Index - MinIndex) / range, 0.0f, 1.0f);
}

float BehaviorSliderButton::ValueAt(float fraction) const
{
    const float value = MinIndex + fraction * (MaxIndex - MinIndex);
    return std::isnan(value) ? MinIndex
                             : std::clamp(value, std::min(MinIndex, MaxIndex), std::max(MinIndex, MaxIndex));
}

void BehaviorSliderButton::OnInit()
{
    Button::OnInit();
    float volume = 0;
    if (Parent && AudioPlayer::GetInstance()->GetVolume(BusOf(Parent->Name), volume))
        SetIndex(Volume(volume));
}

void BehaviorSliderButton::OnUpdate(float)
{
    Transform* bar = Parent ? Parent->GetComponent<Transform>() : nullptr;
    if (!bar)
        return;
    const Vec3 at = bar->Translation;
    const float width = bar->Scale.x;
    const float left = at.x - width / 2;
    Vec3& thumb = SliderTable[ThumbName];
    thumb = {left + Fraction() * width, at.y + ThumbRise, at.z};
    if (!Dragging)
        return;

    // The world x whose projection at the thumb's height and depth falls under the cursor.
    const float cx = static_cast<float>(2.0 * InputSystem::GetInstance().cursorX - 1.0);
    Camera& camera = Camera::GetInstance();
    const Matrix4 clip = Matrix4::Multiply(camera.GetProjectionMatrix(), camera.GetViewMatrix());
    const auto& m = clip.m;
    const float e = m[0] - cx * m[3];
    if (std::abs(e) > 0.001f && width != 0.0f)
    {
        const float x =
            (cx * (m[7] * thumb.y + m[11] * thumb.z + m[15]) - (m[4] * thumb.y + m[8] * thumb.z + m[12])) / e;
        SetIndex(ValueAt((x - left) / width));
    }

    AudioPlayer* player = AudioPlayer::GetInstance();
    if (IsSliderName(Parent->Name))
        player->SetVolume(BusOf(Parent->Name), Volume(Index));
    else
        TraceMessage("BehaviorSliderButton::OnUpdate: Unknown slider name '%s'.W", Parent->Name.c_str());
}

void BehaviorSliderButton::ResetVolumes()
{
    for (auto& [name, place] : SliderTable)
        place.x = HalfVolume;
    AudioPlayer* player = AudioPlayer::GetInstance();
    for (const Slider& slider : Sliders)
        player->SetVolume(player->*slider.group, HalfVolume);
    if (MainScene* overlay = SceneSystem::GetInstance().PauseOverlay())
        for (Entity* entity : overlay->entities.GetEntities())
            if (BehaviorSliderButton* slider = entity->GetComponent<BehaviorSliderButton>())
                slider->SetIndex(HalfVolume);
}
