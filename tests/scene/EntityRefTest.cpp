// References one entity keeps to another: they read as null once the other has gone.
#include "scene/EntityRef.h"

#include "scene/Transform.h"

#include <gtest/gtest.h>
#include <memory>

TEST(EntityRef, ReadsTheTargetWhileItLivesAndNullOnceItIsGone)
{
    auto bot = std::make_unique<Entity>();
    auto* place = new Transform();
    bot->AddComponent(place);
    EntityRef<Entity> toBot = bot.get();
    EntityRef<Transform> toPlace = place;
    EXPECT_EQ(toBot, bot.get());
    EXPECT_EQ(toPlace, place);
    EXPECT_EQ(toPlace->Parent, bot.get());

    // The component taken off its entity: the entity still reads, the component no longer.
    bot->DeleteComponents();
    EXPECT_EQ(toBot.Get(), bot.get());
    EXPECT_EQ(toPlace.Get(), nullptr);

    // The entity deleted: nothing reads, even when a new entity takes the same memory.
    bot.reset();
    EXPECT_EQ(toBot.Get(), nullptr);
    for (int i = 0; i < 8; ++i)
    {
        auto other = std::make_unique<Entity>();
        EXPECT_EQ(toBot.Get(), nullptr);
    }
}

TEST(EntityRef, NothingOrAComponentOfNoEntityReadsAsNull)
{
    EntityRef<Entity> none;
    EXPECT_EQ(none.Get(), nullptr);
    none = nullptr;
    EXPECT_EQ(none.Get(), nullptr);
    Transform loose;   // on no entity: nothing tells whether it lives
    EntityRef<Transform> toLoose = &loose;
    EXPECT_EQ(toLoose.Get(), nullptr);
    // A copy of an entity is another entity.
    Entity original;
    Entity copy(original);
    EXPECT_NE(original.Serial, copy.Serial);
    EXPECT_EQ(Entity::Living(copy.Serial), &copy);
}
