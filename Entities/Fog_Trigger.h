// Invisible: fades the fog's density, distances and colour to new values.
#pragma once

#include <cstdint>

#include "World/Entity.h"

class Fog_Trigger : public Entity
{
public:
    Fog_Trigger();
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;

    float mTargetDensity, mTargetStart, mTargetEnd;
    float mTargetColour[3];
    float mSavedDensity, mSavedStart, mSavedEnd;
    float mSavedColour[3];
    float mDensity, mStart, mEnd;
    float mColour[3];
    int32_t mFrames;
    int32_t mCount;
};
