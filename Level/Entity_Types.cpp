#include "Level/Entity_Types.h"

#include "Entities/Treasure.h"

namespace
{
template <class T>
Entity* Make()
{
    return new T;
}

// Each row names the level-file attributes its type reads (besides SIZE and Y_VALUE).
constexpr Entity_Type TYPES[] = {
    {0, "Treasure", &Make<Treasure>},   // IMAGE, VALUE
    {16, "Treasure", &Make<Treasure>},  // as 0
    {17, "Treasure", &Make<Treasure>},  // as 0
};

constexpr int TYPE_COUNT = sizeof(TYPES) / sizeof(TYPES[0]);

constexpr bool CodesAreUnique()
{
    for (int i = 0; i < TYPE_COUNT; ++i)
        for (int j = i + 1; j < TYPE_COUNT; ++j)
            if (TYPES[i].mCode == TYPES[j].mCode)
                return false;
    return true;
}
static_assert(CodesAreUnique(), "two rows of the entity type table share a code");
}

const Entity_Type* FindEntityType(int code)
{
    for (const Entity_Type& type : TYPES)
        if (type.mCode == code)
            return &type;
    return nullptr;
}

Entity* CreateEntity(int code)
{
    const Entity_Type* type = FindEntityType(code);
    return type ? type->mCreate() : nullptr;
}

const Entity_Type* GetEntityTypes(int& count)
{
    count = TYPE_COUNT;
    return TYPES;
}
