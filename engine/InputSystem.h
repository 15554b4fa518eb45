#pragma once
// Polls the mouse buttons and keys once per frame into one state per GLFW code (0 up, 1 went
// down this frame, 2 held), keeps the cursor position and posts every key, mouse-button and
// cursor event on the message bus as text ("%d, %d" types 1 and 3, "%f, %f" type 2). Each
// cursor event is also handed to onCursorMoved (the game draws a marker there).
// No tap is lost: a press reported by the key or mouse-button callback since the last poll
// reads 1 at the next poll even when the key is already up again (it reads 0 at the poll after),
// and a release and press again between two polls of a held key reads as a new press.
#include "engine/BaseSystem.h"

#include <functional>

struct GLFWwindow;

class InputSystem : public BaseSystem
{
public:
    static constexpr int StateSize = 349;   // mouse buttons 0..7, keys 32..348
    static constexpr int FirstKey = 32;
    static constexpr int MouseButtons = 8;

    static InputSystem& GetInstance();

    bool Init() override;
    void BeginFrame() override;   // cursor in 0..1 of the window, origin top-left
    void Update(float dt) override;

    // The state of a code; a code that is not polled counts as never pressed.
    int GetState(int code) const;
    // Whether the code is one the input polls: a mouse button 0..7 or a key code 32..348.
    static bool IsPolled(int code)
    {
        return (code >= 0 && code < MouseButtons) || (code >= FirstKey && code < StateSize);
    }

    // One polling step with the given reader of "is this code down", together with the presses
    // and releases reported since the last step.
    void Poll(const std::function<bool(int code)>& isDown);
    // A press (true) or release of a code as the window reports it; codes without a state are
    // ignored.
    void NoteEvent(int code, bool pressed);
    // Every code up, no press or release waiting for the next poll.
    void Reset();

    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
    static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
    static void OnCursorPos(GLFWwindow* window, double x, double y);

    std::function<void(float ndcX, float ndcY)> onCursorMoved;   // optional

    double cursorX = 0, cursorY = 0;
    int state[StateSize] = {};

    // Set every frame by an overlay drawn over the game (the editor): the pointer, or the
    // keyboard, is its own. While set, the mouse buttons (or the keys) read as up, and one
    // pressed meanwhile stays up for the game until it is released.
    bool overlayHasMouse = false;
    bool overlayHasKeyboard = false;

private:
    bool swallowed[StateSize] = {};   // went down while the overlay had it; up for the game
    bool pressedSincePoll[StateSize] = {};
    bool releasedSincePoll[StateSize] = {};

    InputSystem() : BaseSystem("Input System") {}
};

// GLFW codes the engine reads.
namespace Key
{
constexpr int Space = 32;
constexpr int Escape = 256;
constexpr int Enter = 257;
constexpr int Backspace = 259;
constexpr int Right = 262;
constexpr int Left = 263;
constexpr int Down = 264;
constexpr int Up = 265;
constexpr int End = 269;
constexpr int F1 = 290;
constexpr int F3 = 292;
constexpr int F4 = 293;
constexpr int F5 = 294;
constexpr int F7 = 296;
constexpr int F8 = 297;
constexpr int F11 = 300;
constexpr int LeftControl = 341;
}   // namespace Key
