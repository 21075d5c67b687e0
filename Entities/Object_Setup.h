// Small building steps shared by the level object types: a set of one frame, the half
// extents a type takes from its image's entry in the bank, and attribute reads with a
// fallback for records that lack a value.
#pragma once

#include <sstream>
#include <string>

#include "Graphics/Animation.h"
#include "Graphics/Image_Bank.h"
#include "World/Entity.h"

// Appends a set holding the one frame and returns it.
inline Animation_Set& AddSingleFrameSet(Animation& model, const std::string& key)
{
    Animation_Set set;
    set.mFrames.push_back(Animation_Frame(key));
    model.mSets.push_back(set);
    return model.mSets.back();
}

inline void TakeHalfExtents(Entity& e, const std::string& key)
{
    const Image_Entry& image = gImageBank.GetImage(key);
    e.mHalfWidth = image.mHalfWidthFraction;
    e.mHalfHeight = image.mHalfHeightFraction;
}

// A missing or unreadable value prints the usual lines and gives the fallback, so a
// faulty record still yields a working object.
// A readable value outside the range is clamped to it (see Entity::ClampToRange).
inline float FloatAttribute(const Entity& e, const std::string& name, float fallback,
                            Attribute_Range range = NO_RANGE)
{
    const std::string text = e.GetAttribute(name);
    const float value = Entity::ParseFloat(text);
    std::istringstream probe(text);
    float readable;
    return (probe >> readable) ? Entity::ClampToRange(name, value, range) : fallback;
}

inline int IntAttribute(const Entity& e, const std::string& name, int fallback,
                        Attribute_Range range = NO_RANGE)
{
    const std::string text = e.GetAttribute(name);
    const int value = Entity::ParseInt(text);
    std::istringstream probe(text);
    int readable;
    if (!(probe >> readable))
        return fallback;
    // Only a clamped value goes back through the cast: INT_MAX as a float is past int.
    const float clamped = Entity::ClampToRange(name, static_cast<float>(value), range);
    return clamped == static_cast<float>(value) ? value : static_cast<int>(clamped);
}
