#include "scene/ComponentRegistry.h"

#include "engine/TraceSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorDestroyByEvent.h"
#include "game/BehaviorLadder.h"
#include "game/BehaviorMonkey.h"
#include "game/BehaviorPath.h"
#include "game/BehaviorSpawner.h"
#include "game/BehaviorSpotlight.h"
#include "game/BehaviorSpotlightEdge.h"
#include "game/ColliderCircle.h"
#include "game/ColliderLine.h"
#include "game/CountBoardDisplay.h"
#include "game/EntityKiller.h"
#include "game/ExitDisplay.h"
#include "game/LostDisplay.h"
#include "game/MovementDriver.h"
#include "game/MusicPlayer.h"
#include "game/Physics.h"
#include "game/PixelGrid.h"
#include "game/SpawnerDisplay.h"
#include "graphics/Animation.h"
#include "graphics/AnimationSequencer.h"
#include "graphics/Font.h"
#include "graphics/ParticleEmitter.h"
#include "graphics/Sprite.h"
#include "scene/Transform.h"
#include "ui/BehaviorChangeSpeedButton.h"
#include "ui/BehaviorCredits.h"
#include "ui/BehaviorDestructButton.h"
#include "ui/BehaviorFontChange.h"
#include "ui/BehaviorHowToPlayDisplayer.h"
#include "ui/BehaviorJobButton.h"
#include "ui/BehaviorLevelSelectTint.h"
#include "ui/BehaviorPauseButton.h"
#include "ui/BehaviorSceneButton.h"
#include "ui/BehaviorSliderButton.h"
#include "ui/BehaviorSplashScreen.h"
#include "ui/BehaviorThumb.h"
#include "ui/BehaviorUI.h"
#include "ui/Button.h"
#include "ui/ButtonComponent.h"
#include "ui/HoverResponse.h"

#include <algorithm>
#include <unordered_map>

namespace
{
// Defined before the registrators below, so the table exists when they run.
std::unordered_map<std::string, ComponentFactory>& Table()
{
    static std::unordered_map<std::string, ComponentFactory> table;
    return table;
}

template <typename T> struct Registrator
{
    explicit Registrator(const char* name)
    {
        ComponentRegistry::Register(name, [] { return new T(); });
    }
};

// One registrator per component class, named after it.
// One registrator per component class, named after it; kept in the order of the names.
const Registrator<Animation> AnimationRegistrator("Animation");
const Registrator<AnimationSequencer> AnimationSequencerRegistrator("AnimationSequencer");
const Registrator<BehaviorChangeSpeedButton>
    BehaviorChangeSpeedButtonRegistrator("BehaviorChangeSpeedButton");
const Registrator<BehaviorCountBoard> BehaviorCountBoardRegistrator("BehaviorCountBoard");
const Registrator<BehaviorCredits> BehaviorCreditsRegistrator("BehaviorCredits");
const Registrator<BehaviorDestroyByEvent> BehaviorDestroyByEventRegistrator("BehaviorDestroyByEvent");
const Registrator<BehaviorDestructButton> BehaviorDestructButtonRegistrator("BehaviorDestructButton");
const Registrator<BehaviorFontChange> BehaviorFontChangeRegistrator("BehaviorFontChange");
const Registrator<BehaviorHowToPlayDisplayer>
    BehaviorHowToPlayDisplayerRegistrator("BehaviorHowToPlayDisplayer");
const Registrator<BehaviorJobButton> BehaviorJobButtonRegistrator("BehaviorJobButton");
const Registrator<BehaviorLadder> BehaviorLadderRegistrator("BehaviorLadder");
const Registrator<BehaviorLevelSelectTint> BehaviorLevelSelectTintRegistrator("BehaviorLevelSelectTint");
const Registrator<BehaviorMonkey> BehaviorMonkeyRegistrator("BehaviorMonkey");
const Registrator<BehaviorPath> BehaviorPathRegistrator("BehaviorPath");
const Registrator<BehaviorPauseButton> BehaviorPauseButtonRegistrator("BehaviorPauseButton");
const Registrator<BehaviorSceneButton> BehaviorSceneButtonRegistrator("BehaviorSceneButton");
const Registrator<BehaviorSliderButton> BehaviorSliderButtonRegistrator("BehaviorSliderButton");
const Registrator<BehaviorSpawner> BehaviorSpawnerRegistrator("BehaviorSpawner");
const Registrator<BehaviorSplashScreen> BehaviorSplashScreenRegistrator("BehaviorSplashScreen");
const Registrator<BehaviorSpotlight> BehaviorSpotlightRegistrator("BehaviorSpotlight");
const Registrator<BehaviorSpotlightEdge> BehaviorSpotlightEdgeRegistrator("BehaviorSpotlightEdge");
const Registrator<BehaviorThumb> BehaviorThumbRegistrator("BehaviorThumb");
const Registrator<BehaviorUI> BehaviorUIRegistrator("BehaviorUI");
const Registrator<Button> ButtonRegistrator("Button");
const Registrator<ButtonComponent> ButtonComponentRegistrator("ButtonComponent");
const Registrator<ColliderCircle> ColliderCircleRegistrator("ColliderCircle");
const Registrator<ColliderLine> ColliderLineRegistrator("ColliderLine");
const Registrator<CountBoardDisplay> CountBoardDisplayRegistrator("CountBoardDisplay");
const Registrator<EntityKiller> EntityKillerRegistrator("EntityKiller");
const Registrator<ExitDisplay> ExitDisplayRegistrator("ExitDisplay");
const Registrator<Font> FontRegistrator("Font");
const Registrator<HoverResponse> HoverResponseRegistrator("HoverResponse");
const Registrator<LostDisplay> LostDisplayRegistrator("LostDisplay");
const Registrator<MovementDriver> MovementDriverRegistrator("MovementDriver");
const Registrator<MusicPlayer> MusicPlayerRegistrator("MusicPlayer");
const Registrator<ParticleEmitter> ParticleEmitterRegistrator("ParticleEmitter");
const Registrator<Physics> PhysicsRegistrator("Physics");
const Registrator<PixelGrid> PixelGridRegistrator("PixelGrid");
const Registrator<SpawnerDisplay> SpawnerDisplayRegistrator("SpawnerDisplay");
const bool SpriteRegistered = (ComponentRegistry::Register("Sprite", MakeDefaultPlaneSprite), true);
const Registrator<Transform> TransformRegistrator("Transform");
}   // namespace

void ComponentRegistry::Register(const std::string& name, ComponentFactory factory)
{
    Table()[name] = std::move(factory);
}

Component* ComponentRegistry::Create(const std::string& name)
{
    const auto found = Table().find(name);
    if (found == Table().end() || !found->second)
    {
        Log("ERROR: ", name, " NOT FOUND in registry!");
        Log("ERROR:", name);
        return nullptr;
    }
    return found->second();
}

bool ComponentRegistry::Has(const std::string& name)
{
    const auto found = Table().find(name);
    return found != Table().end() && found->second;
}

std::vector<std::string> ComponentRegistry::Names()
{
    std::vector<std::string> names;
    for (const auto& entry : Table())
        names.push_back(entry.first);
    std::sort(names.begin(), names.end());
    return names;
}
