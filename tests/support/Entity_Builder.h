// Entities built the way the level loader builds a record: made from the type code,
// placed, set up. A code that does not make a T fails the test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Core/Constants.h"
#include "Level/Entity_Types.h"
#include "World/Entity.h"

namespace test_entities
{

// At x across the corridor, z along the level (as the level file counts it).
template <class T>
std::unique_ptr<T> Build(int code, float x, float z, const std::vector<std::string>& words = {})
{
    std::unique_ptr<Entity> made = CreateEntity(code);
    T* typed = dynamic_cast<T*>(made.get());
    EXPECT_NE(typed, nullptr) << "code " << code;
    if (!typed)
        return nullptr;
    made.release();
    std::unique_ptr<T> e(typed);
    e->Init(x, z + LEVEL_Z_OFFSET, words);
    e->Setup();
    return e;
}

// In the middle of the corridor 20 into the level, already in view.
template <class T> std::unique_ptr<T> BuildInView(int code, const std::vector<std::string>& words = {})
{
    std::unique_ptr<T> e = Build<T>(code, 0.5f, 20.0f, words);
    if (e)
        e->mOnScreen = true;
    return e;
}

} // namespace test_entities
