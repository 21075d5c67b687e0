#include "Entities/Spring.h"

#include <algorithm>

#include "Core/Constants.h"
#include "Entities/Object_Setup.h"
#include "Entities/Player.h"

namespace
{
const int LOADED = 0;
const int SPRINGING = 1;
const int SPRUNG = 2;
const float LAUNCH_VELOCITY = -0.085f; // upward, per frame
const float LAUNCH_GRAVITY = 0.0005f;  // a softer pull than a jump's, for a longer flight
} // namespace

void Spring::Setup()
{
    Animation_Set& loaded = AddSingleFrameSet(mModel, "SPRING_LOADED_IDLE");
    loaded.mFrames[0].mRotation.Set(270.0f, 1.0f, 0.0f, 0.0f);
    loaded.mFrames[0].mTint.Set(0.3f, 1.0f, 1.0f, 1.0f);

    Animation_Set springing;
    for (const char* key : {"SPRING_SPRUNG_1", "SPRING_SPRUNG_2"})
    {
        springing.mFrames.push_back(Animation_Frame(key));
        springing.mFrames.back().mDuration = 2;
    }
    springing.mLoop = false;
    mModel.mSets.push_back(springing);

    Animation_Set sprung;
    for (const char* key : {"SPRING_SPRUNG_IDLE_1", "SPRING_SPRUNG_IDLE_2", "SPRING_SPRUNG_IDLE_3"})
    {
        sprung.mFrames.push_back(Animation_Frame(key));
        sprung.mFrames.back().mDuration = 2;
    }
    sprung.mLoop = true;
    mModel.mSets.push_back(sprung);

    mModel.mCurrentSet = LOADED;
    TakeHalfExtents(*this, "SPRING_LOADED_IDLE");
    mBuilt = true;
}

void Spring::Touch(Player& player)
{
    mSolid = false;
    Entity::Touch(player);
    if (mModel.mCurrentSet == LOADED)
    {
        player.Launch(mLaunchVelocity, mLaunchGravity);
        mModel.mCurrentSet = SPRINGING;
    }
}

bool Spring::Update(Player& player)
{
    if (mModel.mCurrentSet == SPRINGING && mModel.GetCurrentSet().mFinished)
        mModel.mCurrentSet = SPRUNG;
    Entity::Update(player);
    return mOnScreen;
}

void Spring::Reset()
{
    // A restart brings every spring back, loaded, even one that had left play.
    Entity::Reset();
    mScoreValue = 0;
    mHoldable = false;
    mVanishOnTouch = false;
    mLaunchVelocity = LAUNCH_VELOCITY;
    mLaunchGravity = LAUNCH_GRAVITY;
    if (std::find(mTouchSounds.begin(), mTouchSounds.end(), SOUND_SPRING) == mTouchSounds.end())
        mTouchSounds.push_back(SOUND_SPRING);
    if (mBuilt)
    {
        for (int i = LOADED; i <= SPRUNG; ++i)
            mModel.mSets[i].Reset();
        mModel.mCurrentSet = LOADED;
    }
}
