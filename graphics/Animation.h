#pragma once
// Steps through the frames of a sprite sheet laid out in columns and rows, and writes the
// current frame's scale and offset into the texture-coordinate matrix of the Sprite on the same
// entity. Frame 0 is the first column of the bottom row; rows count upward. At most one frame
// advances per update, and the time left over is carried into the next frame. A sheet without
// columns or rows, or a frame the sheet does not hold, shows the first frame and says so once.
#include "scene/Component.h"

#include <cstdint>

class Animation : public Component
{
public:
    static constexpr int32_t ClassTypeId = ComponentType::Animation;   // see Entity::GetComponent
    Animation() : Component(ComponentType::Animation) {}

    Component* Clone() const override { return new Animation(*this); }   // same sheet and progress
    void Update(float dt) override;
    void Write(json& out) const override;
    void Read(const json& in) override;

    void Play();   // restarts from frame 0 and shows it

    // Writes the scale and offset of one frame into a 3x3 column-major matrix (entries 0, 4,
    // 6, 7 and 8; the others are left alone). False when the frame is not on the sheet, in
    // which case the first frame of a sheet of at least one column and row is written instead.
    // A negative sign mirrors the frame within its own cell.
    static bool WriteFrameUV(float uv[9], int frame, int columns, int rows, int8_t uSign, int8_t vSign);

    float Timer = 0;           // seconds left in the current frame
    float FrameDuration = 0;   // seconds
    int FrameCount = 0;
    int CurrentFrame = 0;
    bool Running = false;
    bool Looping = false;
    bool Done = false;   // only during the update in which the last frame was passed
    int Columns = 0;
    int Rows = 0;
    int8_t USign = 1;   // multiplies the U scale: -1 mirrors the sheet left to right
    int8_t VSign = 1;

private:
    void ShowCurrentFrame();   // into the sibling sprite, when there is one

    bool reportedBadFrame = false;   // the bad-sheet message is given once per animation
};
