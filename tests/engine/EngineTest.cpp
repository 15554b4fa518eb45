#include "engine/Engine.h"
#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"

#include <gtest/gtest.h>

namespace
{
// Records every call it receives into a shared journal.
class RecordingSystem : public BaseSystem
{
public:
    RecordingSystem(std::string name, std::vector<std::string>& journal, bool initResult = true)
        : BaseSystem(std::move(name)), journal(journal), initResult(initResult)
    {
    }
    bool Init() override { return Note("Init"), initResult; }
    void BeginFrame() override { Note("BeginFrame"); }
    void Update(float dt) override { Note("Update " + std::to_string(dt)); }
    void PostUpdate() override { Note("PostUpdate"); }
    void EndFrame() override { Note("EndFrame"); }
    void Shutdown() override { Note("Shutdown"); }

private:
    void Note(const std::string& what) { journal.push_back(name + " " + what); }
    std::vector<std::string>& journal;
    bool initResult;
};

const char* const SystemNames[] = {"Trace", "Window", "Graphics",      "Audio", "Messaging",
                                   "Game",  "Scene",  "Serialization", "Input", "Editor"};

class EngineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* n : SystemNames)
            systems.push_back(std::make_unique<RecordingSystem>(n, journal, std::string(n) != "Audio"));
        for (auto& s : systems)
            engine.Add(s.get());
        engine.saveSettings = [this] { journal.push_back("save"); };
        engine.frameTime = [] { return 0.25f; };
    }
    void TearDown() override { MessagingSystem::GetInstance().Clear(); }

    void RunFrames(int frames)
    {
        int left = frames;
        engine.shouldClose = [&left] { return left-- <= 0; };
        engine.Run();
    }

    std::vector<std::string> Calls(const std::string& operation) const
    {
        std::vector<std::string> names;
        for (const std::string& line : journal)
            if (line.size() > operation.size() &&
                line.compare(line.find(' ') + 1, std::string::npos, operation) == 0)
                names.push_back(line.substr(0, line.find(' ')));
        return names;
    }

    std::vector<std::string> journal;
    std::vector<std::unique_ptr<RecordingSystem>> systems;
    Engine engine;
};
}   // namespace

TEST_F(EngineTest, FramePassesRunInStartUpOrderAndEndFrameInReverse)
{
    RunFrames(1);
    const std::vector<std::string> forward(std::begin(SystemNames), std::end(SystemNames));
    const std::vector<std::string> reverse(forward.rbegin(), forward.rend());
    EXPECT_EQ(Calls("Init"), forward);
    EXPECT_EQ(Calls("BeginFrame"), forward);
    EXPECT_EQ(Calls("Update 0.250000"), forward);
    EXPECT_EQ(Calls("PostUpdate"), forward);
    EXPECT_EQ(Calls("EndFrame"), reverse);
    EXPECT_EQ(Calls("Shutdown"), forward);

    // Whole passes follow each other: every BeginFrame before any Update, and so on, then the
    // settings are saved before the first Shutdown.
    auto first = [&](const std::string& line) {
        return std::find(journal.begin(), journal.end(), line) - journal.begin();
    };
    EXPECT_LT(first("Editor BeginFrame"), first("Trace Update 0.250000"));
    EXPECT_LT(first("Editor PostUpdate"), first("Editor EndFrame"));
    EXPECT_LT(first("Trace EndFrame"), first("save"));
    EXPECT_LT(first("save"), first("Trace Shutdown"));
}

TEST_F(EngineTest, SystemWhoseInitFailsStillRunsEveryFrameAndShutsDown)
{
    RunFrames(3);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Audio BeginFrame"), 3);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Audio EndFrame"), 3);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Audio Shutdown"), 1);
}

TEST_F(EngineTest, NoFrameRunsWhenTheWindowIsClosedFromTheStart)
{
    RunFrames(0);
    EXPECT_TRUE(Calls("BeginFrame").empty());
    EXPECT_EQ(Calls("Shutdown").size(), 10u);
    EXPECT_NE(std::find(journal.begin(), journal.end(), "save"), journal.end());
}

TEST(EngineKeyMessage, EndClosesWithAnyActionOtherKeysAndClicksDoNot)
{
    WindowSystem& windows = WindowSystem::GetInstance();
    struct Case
    {
        const char* text;
        bool closes;
    } cases[] = {{"269, 0", true}, {"269, 1", true}, {"269, 2", true},  {"268, 1", false},
                 {"65, 1", false}, {"", false},      {"garbage", false}};
    for (const Case& c : cases)
    {
        windows.closeRequested = false;
        EXPECT_EQ(Engine::OnKeyMessage(c.text), c.closes) << c.text;
        EXPECT_EQ(windows.closeRequested, c.closes) << c.text;
    }
    windows.closeRequested = false;
}

TEST_F(EngineTest, EndKeyMessageStopsTheLoopAfterItsFrame)
{
    WindowSystem::GetInstance().closeRequested = false;
    int frames = 0;
    engine.shouldClose = [&] { return WindowSystem::GetInstance().closeRequested || frames > 50; };
    systems[0] = std::make_unique<RecordingSystem>("Trace", journal);
    struct Poster : BaseSystem
    {
        int& frames;
        explicit Poster(int& f) : BaseSystem("Poster"), frames(f) {}
        void Update(float) override
        {
            if (++frames == 2)
                MessagingSystem::GetInstance().Post(1, "269, 1");
        }
        void EndFrame() override { MessagingSystem::GetInstance().EndFrame(); }
    } poster(frames);
    Engine small;
    small.Add(&poster);
    small.shouldClose = engine.shouldClose;
    small.saveSettings = [] {};
    small.frameTime = [] { return 0.0f; };
    small.Run();
    EXPECT_EQ(frames, 2);
    WindowSystem::GetInstance().closeRequested = false;
}
