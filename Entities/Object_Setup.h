// Small building steps shared by the level object types: a set of one frame and the
// half extents a type takes from its image's entry in the bank.
#pragma once

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
