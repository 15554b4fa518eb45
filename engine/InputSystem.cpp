#include "engine/InputSystem.h"

#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"

#include <GLFW/glfw3.h>
#include <cstdio>

namespace
{
void Advance(int& state, bool down) { state = down ? (state == 0 ? 1 : 2) : 0; }

// A code the overlay has: up for the game, and up until released if pressed meanwhile.
void Advance(int& state, bool& swallowed, bool down, bool overlayHasIt)
{
    swallowed = down && (swallowed || overlayHasIt);
    Advance(state, down && !swallowed);
}
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
    for (int b = 0; b < MouseButtons; ++b)
        Advance(state[b], swallowed[b], isDown(b), overlayHasMouse);
    for (int k = FirstKey; k < StateSize; ++k)
        Advance(state[k], swallowed[k], isDown(k), overlayHasKeyboard);
}

int InputSystem::GetState(int code) const
{
    if (code < 0 || code >= StateSize)
        return 0;
    return state[code];
}

void InputSystem::OnKey(GLFWwindow*, int key, int, int action, int)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d, %d", key, action);
    MessagingSystem::GetInstance().Post(MessageType::Input, text);
}

void InputSystem::OnMouseButton(GLFWwindow*, int button, int action, int)
{
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
