#include "app/Game.h"

#include "audio/AudioSystem.h"
#include "editor/EditorSystem.h"
#include "engine/Engine.h"
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/SerializationSystem.h"
#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/Image.h"
#include "scene/GameSystem.h"
#include "scene/SceneSystem.h"

void BuildGame(Engine& engine)
{
    engine.Add(&TraceSystem::GetInstance());
    engine.Add(&WindowSystem::GetInstance());
    engine.Add(&GraphicsSystem::GetInstance());
    engine.Add(&AudioSystem::GetInstance());
    engine.Add(&MessagingSystem::GetInstance());
    engine.Add(&GameSystem::GetInstance());
    engine.Add(&SceneSystem::GetInstance());
    engine.Add(&SerializationSystem::GetInstance());
    engine.Add(&InputSystem::GetInstance());
    engine.Add(&EditorSystem::GetInstance());

    // The engine sits below pictures, drawing and scenes: it reaches them through these hooks.
    WindowSystem& window = WindowSystem::GetInstance();
    SceneSystem& scenes = SceneSystem::GetInstance();
    window.loadIcon = [] { return Image("ZIN_ICON", ".png").ToWindowIcon(); };
    window.onResize = GraphicsSystem::OnFramebufferResize;
    window.onFocus = [&scenes](bool focused) { scenes.OnWindowFocus(focused); };
    InputSystem::GetInstance().onCursorMoved = Graphics::SubmitCursorMarker;
    engine.saveSettings = [&scenes] { scenes.SaveSettings(); };
}
