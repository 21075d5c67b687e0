#include "Entities/Rock.h"

#include "Core/Constants.h"
#include "Entities/Knock.h"
#include "Entities/Object_Setup.h"
#include "Entities/Player.h"

namespace
{
const int WHOLE = 0;
const int EXPLODING = 1;
const float KNOCK_BACK = -0.2f; // times the runner's speed: thrown back at a fifth of it
} // namespace

void Rock::Setup()
{
    mTouchSounds.push_back(SOUND_MONSTER_HIT);

    Animation_Set& whole = AddSingleFrameSet(mModel, "ROCK");
    whole.mScale.Set(mSize, mSize, mSize);

    Animation_Set blast;
    for (const char* key : {"ROCK_EXP1", "ROCK_EXP2", "ROCK_EXP3", "ROCK_EXP4", "ROCK_EXP5"})
        blast.mFrames.push_back(Animation_Frame(key));
    blast.mLoop = false;
    blast.mSpeed = 2;
    mModel.mSets.push_back(blast);

    TakeHalfExtents(*this, "ROCK");
}

void Rock::Touch(Player& player)
{
    // Only the exact boost speed breaks it; the boost is spent on it.
    if (player.mSpeed == BOOST_SPEED)
    {
        mModel.mCurrentSet = EXPLODING;
        player.mHeldItem = nullptr;
        mSolid = false;
    }
    else
    {
        Entity::Touch(player);
    }
    Knock(*this, player, KNOCK_BACK * player.mSpeed);
}

bool Rock::Update(Player& player)
{
    Entity::Update(player);
    if (mModel.mCurrentSet == EXPLODING)
    {
        if (mModel.GetCurrentSet().mFinished)
        {
            mOnScreen = false;
            return false;
        }
        return true;
    }
    return mOnScreen;
}

void Rock::Reset()
{
    Entity::Reset();
    if (mModel.mSets.size() > EXPLODING)
        mModel.mSets[EXPLODING].Reset();
    mModel.mCurrentSet = WHOLE;
    mSolid = true;
}
