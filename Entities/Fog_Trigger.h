// Invisible: fades the fog's density, distances and colour to new values.
#pragma once

#include <cstdint>

#include "World/Entity.h"

class Fog_Trigger : public Entity
{
public:
    Fog_Trigger();
    ~Fog_Trigger() override;
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;

    // Where the fog fade under way, if any, is heading: a checkpoint taken during it
    // keeps that, since a respawn does not play the fade again. False when none is.
    static bool Heading(float colour[3], float& density, float& start, float& end);

    float mTargetDensity, mTargetStart, mTargetEnd;
    float mTargetColour[3];
    float mSavedDensity, mSavedStart, mSavedEnd;
    float mSavedColour[3];
    float mDensity, mStart, mEnd;
    float mColour[3];
    int32_t mFrames;
    int32_t mCount;
};
