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

template <size_t N> constexpr int Count(const Entity_Attribute (&)[N])
{
    return static_cast<int>(N);
}

// name, kind, range, and the default a missing or unreadable number gives
constexpr Entity_Attribute TREASURE[] = {{"IMAGE", Attribute_Kind::IMAGE_KEY},
                                         {"VALUE", Attribute_Kind::INT}};
// floor, left or right
constexpr Entity_Attribute SPIKE[] = {{"PLACEMENT", Attribute_Kind::TEXT}};
constexpr Entity_Attribute HINT[] = {{"HINT", Attribute_Kind::IMAGE_KEY}};
constexpr Entity_Attribute CAMERA[] = {
    {"HalfWidth", Attribute_Kind::FLOAT, HALF_WIDTH_RANGE, 0.5f}, // the corridor
    {"Distance", Attribute_Kind::INT, FRAMES_RANGE, 100.0f},
    {"Yaw", Attribute_Kind::FLOAT},
    {"Pitch", Attribute_Kind::FLOAT}};
// Without values the fog heads for the cave's usual black fog, not a wall of it.
constexpr Entity_Attribute FOG[] = {{"R", Attribute_Kind::FLOAT},
                                    {"G", Attribute_Kind::FLOAT},
                                    {"B", Attribute_Kind::FLOAT},
                                    {"PERCENT", Attribute_Kind::FLOAT, NO_RANGE, 0.8f},
                                    {"START_DIST", Attribute_Kind::FLOAT, NO_RANGE, 3.0f},
                                    {"END_DIST", Attribute_Kind::FLOAT, NO_RANGE, 20.0f},
                                    {"FRAMES", Attribute_Kind::FLOAT, FRAMES_RANGE, 60.0f}};
constexpr Entity_Attribute SCENERY[] = {{"CEILING", Attribute_Kind::IMAGE_KEY},
                                        {"FLOOR", Attribute_Kind::IMAGE_KEY},
                                        {"WALL", Attribute_Kind::IMAGE_KEY},
                                        {"FRAMES", Attribute_Kind::FLOAT, FRAMES_RANGE, 60.0f},
                                        {"ALPHA", Attribute_Kind::FLOAT, NO_RANGE, 1.0f},
                                        {"HUDTEXTURE", Attribute_Kind::IMAGE_KEY}};

constexpr Entity_Type TYPES[] = {
    {0, "Treasure", &Make<Treasure>, TREASURE, Count(TREASURE)},
    {1, "Rock", &Make<Rock>, nullptr, 0},
    {2, "Spike", &Make<Spike>, SPIKE, Count(SPIKE)},
    {3, "Boost_Item", &Make<Boost_Item>, nullptr, 0},
    {4, "Spinner_Item", &Make<Spinner_Item>, nullptr, 0},
    {5, "Bone", &Make<Bone>, nullptr, 0},
    {6, "Spring", &Make<Spring>, nullptr, 0},
    {7, "Clock_Item", &Make<Clock_Item>, nullptr, 0},
    {8, "Hole", &Make<Hole>, nullptr, 0},
    {9, "Cloak_Item", &Make<Cloak_Item>, nullptr, 0},
    {10, "Hint_Trigger", &Make<Hint_Trigger>, HINT, Count(HINT)},
    {11, "Camera_Trigger", &Make<Camera_Trigger>, CAMERA, Count(CAMERA)},
    {12, "Torch", &Make<Torch>, nullptr, 0},
    {13, "Fog_Trigger", &Make<Fog_Trigger>, FOG, Count(FOG)},
    {14, "Scenery_Trigger", &Make<Scenery_Trigger>, SCENERY, Count(SCENERY)},
    {15, "Stalactite", &Make<Stalactite>, nullptr, 0},
    {16, "Treasure", &Make<Treasure>, TREASURE, Count(TREASURE)},
    {17, "Treasure", &Make<Treasure>, TREASURE, Count(TREASURE)},
    {18, "Boulder", &Make<Boulder>, nullptr, 0},
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
    if (!type)
        return nullptr;
    std::unique_ptr<Entity> e = type->mCreate();
    e->mRows = type->mAttributes; // what its Get reads by
    e->mRowCount = type->mAttributeCount;
    return e;
}

const Entity_Type* GetEntityTypes(int& count)
{
    count = TYPE_COUNT;
    return TYPES;
}
