// An archetype file: built into an entity the way a spawner builds one, written back out, and
// the archetype cache emptied so the next input is read afresh.
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzKit::Setup().Write("Entities/Fuzz.json", FuzzKit::Text(data, size));
    Entity entity;
    if (FactoryBuild(entity, "Fuzz"))
    {
        json out;
        entity.WriteContent(out);
        (void)out.dump();
    }
    if (ArchetypeCache)
        ArchetypeCache->Clear();
    return 0;
}
