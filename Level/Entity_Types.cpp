#include "Level/Entity_Types.h"

#include "Entities/Bone.h"
#include "Entities/Boost_Item.h"
#include "Entities/Boulder.h"
#include "Entities/Camera_Trigger.h"
#include "Entities/Cloak_Item.h"
#include "Entities/Clock_Item.h"
#include "Entities/Fog_Trigger.h"
#include "Entities/Hint_Trigger.h"
#include "Entities/Hole.h"
#include "Entities/Rock.h"
#include "Entities/Scenery_Trigger.h"
#include "Entities/Spike.h"
#include "Entities/Spinner_Item.h"
#include "Entities/Spring.h"
#include "Entities/Stalactite.h"
#include "Entities/Torch.h"
#include "Entities/Treasure.h"

namespace
{
template <class T> std::unique_ptr<Entity> Make()
{
    return std::make_unique<T>();
}

// Each row names the level-file attributes its type reads (every type also takes the
// common SIZE and Y_VALUE).
constexpr Entity_Type TYPES[] = {
    {0, "Treasure", &Make<Treasure>},                // IMAGE, VALUE
    {1, "Rock", &Make<Rock>},                        // none
    {2, "Spike", &Make<Spike>},                      // PLACEMENT: floor, left or right
    {3, "Boost_Item", &Make<Boost_Item>},            // none
    {4, "Spinner_Item", &Make<Spinner_Item>},        // none
    {5, "Bone", &Make<Bone>},                        // none
    {6, "Spring", &Make<Spring>},                    // none
    {7, "Clock_Item", &Make<Clock_Item>},            // none
    {8, "Hole", &Make<Hole>},                        // none
    {9, "Cloak_Item", &Make<Cloak_Item>},            // none
    {10, "Hint_Trigger", &Make<Hint_Trigger>},       // HINT (an image key, or None)
    {11, "Camera_Trigger", &Make<Camera_Trigger>},   // HalfWidth, Distance, Yaw, Pitch
    {12, "Torch", &Make<Torch>},                     // none
    {13, "Fog_Trigger", &Make<Fog_Trigger>},         // R, G, B, PERCENT, START_DIST, END_DIST, FRAMES
    {14, "Scenery_Trigger", &Make<Scenery_Trigger>}, // CEILING, FLOOR, WALL, FRAMES, ALPHA, HUDTEXTURE
    {15, "Stalactite", &Make<Stalactite>},           // none
    {16, "Treasure", &Make<Treasure>},               // as 0
    {17, "Treasure", &Make<Treasure>},               // as 0
    {18, "Boulder", &Make<Boulder>},                 // none
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
} // namespace

const Entity_Type* FindEntityType(int code)
{
    for (const Entity_Type& type : TYPES)
        if (type.mCode == code)
            return &type;
    return nullptr;
}

std::unique_ptr<Entity> CreateEntity(int code)
{
    const Entity_Type* type = FindEntityType(code);
    return type ? type->mCreate() : nullptr;
}

const Entity_Type* GetEntityTypes(int& count)
{
    count = TYPE_COUNT;
    return TYPES;
}
