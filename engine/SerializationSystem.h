#pragma once
// An engine system without behaviour: the JSON files are read and written by ReadJsonFile
// and WriteJsonFile. It keeps its slot in the frame order.
#include "engine/BaseSystem.h"

class SerializationSystem : public BaseSystem
{
public:
    static SerializationSystem& GetInstance()
    {
        static SerializationSystem instance;
        return instance;
    }

private:
    SerializationSystem() : BaseSystem("Serialization System") {}
};
