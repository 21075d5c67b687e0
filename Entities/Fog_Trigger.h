// Invisible: fades the fog's density, distances and colour to new values.
#pragma once

#include <cstdint>

#include "World/Entity.h"

class Fog_Trigger : public Entity
{
public:
    ~Fog_Trigger() override;
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;

    // Where the fog fade under way, if any, is heading: a checkpoint taken during it
    // keeps that, since a respawn does not play the fade again. False when none is.
    static bool Heading(float colour[3], float& density, float& start, float& end);

    float mTargetDensity = 0.0f, mTargetStart = 0.0f, mTargetEnd = 0.0f;
    float mTargetColour[3] = {};
    float mSavedDensity = 0.0f, mSavedStart = 0.0f, mSavedEnd = 0.0f;
    float mSavedColour[3] = {};
    float mDensity = 0.0f, mStart = 0.0f, mEnd = 0.0f;
    float mColour[3] = {};
    int32_t mFrames = 1;
    int32_t mCount = 0;
};
