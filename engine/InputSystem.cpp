#include "engine/InputSystem.h"

#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <cstdio>

namespace
{
void Advance(int& state, bool down) { state = down ? (state == 0 ? 1 : 2) : 0; }
}   // namespace

InputSystem& InputSystem::GetInstance()
{
    static InputSystem instance;
    return instance;
}

bool InputSystem::Init()
{
    GLFWwindow* window = WindowSystem::GetInstance().window;
    if (!window)
        return false;
    glfwSetKeyCallback(window, OnKey);
    glfwSetMouseButtonCallback(window, OnMouseButton);
    glfwSetCursorPosCallback(window, OnCursorPos);
    return true;
}

void InputSystem::BeginFrame()
{
    const WindowSystem& windows = WindowSystem::GetInstance();
    if (!windows.window || windows.width <= 0 || windows.height <= 0)
        return;
    glfwGetCursorPos(windows.window, &cursorX, &cursorY);
    cursorX /= windows.width;
    cursorY /= windows.height;
}

void InputSystem::Update(float)
{
    GLFWwindow* window = WindowSystem::GetInstance().window;
    if (!window)
        return;
    Poll([window](int code) {
        return code < MouseButtons ? glfwGetMouseButton(window, code) == GLFW_PRESS
                                   : glfwGetKey(window, code) == GLFW_PRESS;
    });
}

void InputSystem::Poll(const std::function<bool(int)>& isDown)
{
    const auto step = [&](int code, bool overlayHasIt) {
        const bool down = isDown(code), pressed = pressedSincePoll[code], released = releasedSincePoll[code];
        pressedSincePoll[code] = releasedSincePoll[code] = false;
        // A code the overlay has is up for the game, and stays up until released if it went down
        // meanwhile.
        swallowed[code] = (down || pressed) && ((swallowed[code] && !released) || overlayHasIt);
        if (swallowed[code])
            state[code] = 0;
        else if (pressed)
            // Pressed since the last poll, perhaps released already: one frame of 1 either way,
            // unless the code was held all along.
            state[code] = state[code] != 0 && !released ? 2 : 1;
        else
            Advance(state[code], down);
    };
    for (int b = 0; b < MouseButtons; ++b)
        step(b, overlayHasMouse);
    for (int k = FirstKey; k < StateSize; ++k)
        step(k, overlayHasKeyboard);
}

void InputSystem::NoteEvent(int code, bool pressed)
{
    if (code < 0 || code >= StateSize)
        return;
    (pressed ? pressedSincePoll : releasedSincePoll)[code] = true;
}

void InputSystem::Reset()
{
    std::fill(std::begin(state), std::end(state), 0);
    std::fill(std::begin(swallowed), std::end(swallowed), false);
    std::fill(std::begin(pressedSincePoll), std::end(pressedSincePoll), false);
    std::fill(std::begin(releasedSincePoll), std::end(releasedSincePoll), false);
}

int InputSystem::GetState(int code) const { return IsPolled(code) ? state[code] : 0; }

void InputSystem::OnKey(GLFWwindow*, int key, int, int action, int)
{
    if (key >= FirstKey && (action == GLFW_PRESS || action == GLFW_RELEASE))
        GetInstance().NoteEvent(key, action == GLFW_PRESS);
    char text[64];
    std::snprintf(text, sizeof text, "%d, %d", key, action);
    MessagingSystem::GetInstance().Post(MessageType::Input, text);
}

void InputSystem::OnMouseButton(GLFWwindow*, int button, int action, int)
{
    if (button >= 0 && button < MouseButtons && (action == GLFW_PRESS || action == GLFW_RELEASE))
        GetInstance().NoteEvent(button, action == GLFW_PRESS);
    char text[64];
    std::snprintf(text, sizeof text, "%d, %d", button, action);
    MessagingSystem::GetInstance().Post(MessageType::MouseButton, text);
}

void InputSystem::OnCursorPos(GLFWwindow*, double x, double y)
{
    const WindowSystem& windows = WindowSystem::GetInstance();
    if (windows.width <= 0 || windows.height <= 0)
        return;
    const double ndcX = 2.0 * x / windows.width - 1.0;
    const double ndcY = 1.0 - 2.0 * y / windows.height;
    InputSystem& input = GetInstance();
    if (input.onCursorMoved)
        input.onCursorMoved(static_cast<float>(ndcX), static_cast<float>(ndcY));
    input.cursorX = ndcX;
    input.cursorY = ndcY;
    char text[128];
    std::snprintf(text, sizeof text, "%f, %f", ndcX, ndcY);
    MessagingSystem::GetInstance().Post(MessageType::Cursor, text);
}
