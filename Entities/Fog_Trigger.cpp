#include "Entities/Fog_Trigger.h"

#include "Graphics/Graphics.h"

namespace
{
const Fog_Trigger* gFading = nullptr; // the trigger whose fade is under way
} // namespace

Fog_Trigger::~Fog_Trigger()
{
    if (gFading == this)
        gFading = nullptr;
}

bool Fog_Trigger::Heading(float colour[3], float& density, float& start, float& end)
{
    if (!gFading)
        return false;
    for (int i = 0; i < 3; ++i)
        colour[i] = gFading->mTargetColour[i];
    density = gFading->mTargetDensity;
    start = gFading->mTargetStart;
    end = gFading->mTargetEnd;
    return true;
}

void Fog_Trigger::Setup()
{
    mTargetColour[0] = Get("R");
    mTargetColour[1] = Get("G");
    mTargetColour[2] = Get("B");
    mTargetDensity = Get("PERCENT");
    mTargetStart = Get("START_DIST");
    mTargetEnd = Get("END_DIST");
    // A fade needs at least one step; 0 or less would divide by zero.
    mFrames = static_cast<int32_t>(Get("FRAMES"));
    mCount = 0;
    mHalfWidth = 0.5f;
    mHalfHeight = 0.5f;
}

void Fog_Trigger::Touch(Player& player)
{
    const float* colour = gGraphics.GetFogColour();
    for (int i = 0; i < 3; ++i)
        mSavedColour[i] = colour[i];
    mSavedStart = gGraphics.GetFogStart();
    mSavedEnd = gGraphics.GetFogEnd();
    mSavedDensity = gGraphics.GetFogDensity();
    Entity::Touch(player);
    mSolid = false;
    gFading = this;
}

bool Fog_Trigger::Update(Player& player)
{
    Entity::Update(player);
    if (mSolid)
        return mOnScreen;
    if (mFrames < mCount)
    {
        if (gFading == this)
            gFading = nullptr;
        return false;
    }

    const float f = static_cast<float>(mCount) / static_cast<float>(mFrames);
    mDensity = mSavedDensity + f * (mTargetDensity - mSavedDensity);
    mStart = mSavedStart + f * (mTargetStart - mSavedStart);
    mEnd = mSavedEnd + f * (mTargetEnd - mSavedEnd);
    for (int i = 0; i < 3; ++i)
        mColour[i] = mSavedColour[i] + f * (mTargetColour[i] - mSavedColour[i]);
    gGraphics.SetFogParameters(mDensity, mStart, mEnd);
    gGraphics.SetFogColour(mColour[0], mColour[1], mColour[2]);
    ++mCount;
    return true;
}

void Fog_Trigger::Reset()
{
    Entity::Reset();
    mSolid = true;
    mCount = 0;
    if (gFading == this)
        gFading = nullptr;
}
