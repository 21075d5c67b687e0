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
inline float FloatAttribute(const Entity& e, const std::string& name, float fallback)
{
    const std::string text = e.GetAttribute(name);
    const float value = Entity::ParseFloat(text);
    std::istringstream probe(text);
    float readable;
    return (probe >> readable) ? value : fallback;
}

inline int IntAttribute(const Entity& e, const std::string& name, int fallback)
{
    const std::string text = e.GetAttribute(name);
    const int value = Entity::ParseInt(text);
    std::istringstream probe(text);
    int readable;
    return (probe >> readable) ? value : fallback;
}
