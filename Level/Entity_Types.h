// The one table that turns a level file's type code into an entity type, with the
// attributes each type reads from its record. The level checker (tools/zqlevel) checks
// records against it and a test holds the level README to it.
#pragma once

#include <memory>

#include "World/Entity.h"

struct Entity_Type
{
    int mCode;
    const char* mName;
    std::unique_ptr<Entity> (*mCreate)();
    // Read beyond the common SIZE and Y_VALUE; triggers count what they read when touched.
    const Entity_Attribute* mAttributes;
    int mAttributeCount;
};

// The row for a code, or nullptr when the code is unknown.
const Entity_Type* FindEntityType(int code);
// A new entity of the code's type, or nullptr when the code is unknown.
std::unique_ptr<Entity> CreateEntity(int code);
// All rows, for tools and tests.
const Entity_Type* GetEntityTypes(int& count);
