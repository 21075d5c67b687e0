// The one table that turns a level file's type code into an entity type.
#pragma once

#include <memory>

class Entity;

struct Entity_Type
{
    int mCode;
    const char* mName;
    std::unique_ptr<Entity> (*mCreate)();
};

// The row for a code, or nullptr when the code is unknown.
const Entity_Type* FindEntityType(int code);
// A new entity of the code's type, or nullptr when the code is unknown.
std::unique_ptr<Entity> CreateEntity(int code);
// All rows, for tools and tests.
const Entity_Type* GetEntityTypes(int& count);
