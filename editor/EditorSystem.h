#pragma once
// The developer overlay, drawn with Dear ImGui over the game. It owns the ImGui context and its
// GLFW and OpenGL 3 back ends, runs one ImGui frame per engine frame and renders it last, over
// the game and the debug lines. Releasing F1 shows or hides the main menu bar, from which every
// other editor window is opened; an open window stays on screen while the bar is hidden.
//
// Promises:
//  - input an editor window takes is not the game's: while the pointer is over an editor window
//    the game's mouse buttons read as up, and while an editor widget holds the keyboard (a text
//    field has focus, a modal is open) its keys read as up and End does not close the program;
//  - closing the program while the scene has unsaved edits first asks in the "Unsaved Changes"
//    modal, whatever asked for the close (End, the window's close box, the "shutdown" command);
//  - without a window Init builds no context and the frame only hands over the debug lines. The
//    drawing itself (DrawWindows, FinishWindows) needs no back end: any ImGui context with a frame
//    begun will do, which is how the tests drive it.
#include "engine/BaseSystem.h"

#include <functional>

// What an assertion reports to the editor's assert hook.
struct AssertRecord
{
    const char* expression = "";
    const char* file = "";
    int line = 0;
};

class EditorSystem : public BaseSystem
{
public:
    static EditorSystem& GetInstance();

    bool Init() override;             // context, style, font, back ends; the game runs at speed 1
    void BeginFrame() override;       // the back ends' frames, then ImGui's; input capture published
    void Update(float dt) override;   // DrawWindows
    void EndFrame() override;         // FinishWindows, debug lines, then the ImGui draw data
    void Shutdown() override;         // back ends and context

    // The style and the font of the editor, applied to the current context.
    static void ConfigureContext();
    // Tells the input system and the End key what the current ImGui frame takes (call after
    // ImGui::NewFrame).
    static void PublishInputCapture();
    // The F1 toggle and every window of the frame: menu bar, scene editor, demo, terminal.
    void DrawWindows();
    // The end of the frame's widgets: the "Unsaved Changes" modal.
    void FinishWindows();

    // Set by the assert hook; shows the "ASSERT TRIGGERED" window until its close box is used.
    bool AssertTriggered = false;
    // Installed by Init: marks the assertion for the overlay and lets the caller go on (false).
    static std::function<bool(AssertRecord)>& AssertHook();

private:
    EditorSystem() : BaseSystem("Editor System") {}

    bool running = false;   // a context with both back ends exists
};
