#include "engine/MessagingSystem.h"

#include <gtest/gtest.h>

namespace
{
// A payload that counts its own destructions.
struct CountedPayload : ButtonClickedMessage
{
    explicit CountedPayload(int& deaths) : ButtonClickedMessage(nullptr), deaths(deaths) {}
    ~CountedPayload() override { ++deaths; }
    int& deaths;
};

class MessagingTest : public testing::Test
{
protected:
    void SetUp() override { bus.Clear(); }
    void TearDown() override { bus.Clear(); }
    MessagingSystem& bus = MessagingSystem::GetInstance();
    std::vector<std::string> heard;
};
}   // namespace

TEST_F(MessagingTest, MessagesWaitForEndFrameAndReachSubscribersOfTheirTypeInOrder)
{
    bus.Subscribe(1, "first", [&](std::string t) { return heard.push_back("first " + t), false; });
    bus.Subscribe(9, "window", [&](std::string t) { return heard.push_back("window " + t), false; });
    bus.Subscribe(1, "second", [&](std::string t) { return heard.push_back("second " + t), false; });
    bus.Post(1, "65, 1");
    bus.Post(9, "shutdown");
    EXPECT_TRUE(heard.empty());
    bus.EndFrame();
    EXPECT_EQ(heard, (std::vector<std::string>{"first 65, 1", "second 65, 1", "window shutdown"}));
    EXPECT_EQ(bus.QueuedCount(), 0u);
    heard.clear();
    bus.EndFrame();
    EXPECT_TRUE(heard.empty());
}

TEST_F(MessagingTest, PayloadsReachPayloadSubscribersAndAreFreedExactlyOnce)
{
    int deaths = 0;
    int owner = 0;
    uint64_t seenType = 0;
    bus.Subscribe(1, "text", [&](std::string) { return heard.push_back("text"), false; });
    bus.SubscribeWithPayload(
        "payload",
        [&](std::string, Msg::MessagePayload* p) {
            seenType = p->TypeId;
            return true;
        },
        &owner);
    bus.Post(1, "plain");
    bus.PostButtonClicked("", std::make_unique<CountedPayload>(deaths));
    bus.EndFrame();
    EXPECT_EQ(heard.size(), 2u);   // the text subscriber hears both messages
    EXPECT_EQ(seenType, ButtonClickedMessage::TypeHash());
    EXPECT_EQ(deaths, 1);

    bus.Clear();
    bus.PostButtonClicked("", std::make_unique<CountedPayload>(deaths));
    bus.EndFrame();   // nobody listens: still freed once
    EXPECT_EQ(deaths, 2);
}

TEST_F(MessagingTest, TypeHashIsFnv1aOfTheClassName)
{
    EXPECT_EQ(Msg::Fnv1a64(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(Msg::Fnv1a64("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(ButtonClickedMessage::TypeHash(), Msg::Fnv1a64("ButtonClickedMessage"));
}

TEST_F(MessagingTest, HandledOneShotSubscriptionsAreRemovedByTakingTheLastOnesPlace)
{
    bus.Subscribe(1, "a", [](std::string) { return true; });
    bus.Subscribe(1, "b", [](std::string) { return false; });
    bus.Subscribe(1, "c", [](std::string) { return false; });
    bus.Subscribe(1, "d", [](std::string) { return false; });
    // Make "a" one-shot: it responds and so ends.
    const_cast<Subscriber&>(bus.Subscribers()[0]).lifetime = 1;
    bus.Post(1, "x");
    bus.EndFrame();
    EXPECT_EQ(bus.Subscribers()[0].lifetime, 0);
    bus.BeginFrame();
    std::vector<std::string> names;
    for (const Subscriber& s : bus.Subscribers())
        names.push_back(s.name);
    EXPECT_EQ(names, (std::vector<std::string>{"d", "b", "c"}));
}

TEST_F(MessagingTest, AnOwnersSubscriptionsEndWithItEvenDuringDelivery)
{
    int button = 0, other = 0;
    bus.SubscribeWithPayload(
        "button",
        [&](std::string, Msg::MessagePayload*) {
            heard.push_back("button");
            return false;
        },
        &button);
    bus.Subscribe(
        1, "killer",
        [&](std::string) {
            heard.push_back("killer");
            bus.Unsubscribe(&other);
            return false;
        },
        &button);
    bus.SubscribeWithPayload(
        "other",
        [&](std::string, Msg::MessagePayload*) {
            heard.push_back("other");
            return false;
        },
        &other);
    int deaths = 0;
    bus.PostButtonClicked("", std::make_unique<CountedPayload>(deaths));
    bus.EndFrame();
    EXPECT_EQ(heard, (std::vector<std::string>{"button", "killer"}));
    bus.Unsubscribe(&button);
    bus.BeginFrame();
    EXPECT_TRUE(bus.Subscribers().empty());
}

TEST_F(MessagingTest, MessagesPostedDuringDeliveryWaitForTheNextFrame)
{
    bus.Subscribe(1, "echo", [&](std::string t) {
        heard.push_back(t);
        if (t == "ping")
            bus.Post(1, "pong");
        return false;
    });
    bus.Post(1, "ping");
    bus.EndFrame();
    EXPECT_EQ(heard, std::vector<std::string>{"ping"});
    bus.EndFrame();
    EXPECT_EQ(heard, (std::vector<std::string>{"ping", "pong"}));
}

TEST(MessageTypeNames, NamedAndInvalidTypes)
{
    EXPECT_STREQ(MessageTypeName(1), "INPUT");
    EXPECT_STREQ(MessageTypeName(10), "ERROR");
    EXPECT_STREQ(MessageTypeName(2), "INVALID");
    EXPECT_STREQ(MessageTypeName(9), "INVALID");
}
