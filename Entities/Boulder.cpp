#include "Entities/Boulder.h"

#include <cstdlib>

#include "Core/Constants.h"
#include "Entities/Knock.h"
#include "Entities/Object_Setup.h"
#include "Entities/Player.h"

namespace
{
const float ROLL_SPEED = 0.1f;  // towards the runner, per frame
const float KNOCK_BACK = -0.5f; // times the runner's speed: thrown back at half of it
} // namespace

Boulder::Boulder()
    : mSpeedX(0.0f), mRollSpeed(ROLL_SPEED), mSpeedY(0.0f), mMinX(0.0f), mMaxX(1.0f), mStartY(0.0f),
      mFloorY(1.0f), mStartZ(0.0f)
{
}

void Boulder::Setup()
{
    mTouchSounds.push_back(SOUND_MONSTER_HIT);
    mTouchVoiceLines.push_back(VOICE_BET_THAT_HURT);

    Animation_Set set;
    for (const char* key : {"BOULDER_1", "BOULDER_2", "BOULDER_3", "BOULDER_4"})
        set.mFrames.push_back(Animation_Frame(key));
    set.mFrames[0].mDuration = 5;
    set.mLoop = true;
    mModel.mSets.push_back(set);

    TakeHalfExtents(*this, "BOULDER_1");
    mMinX = mHalfWidth;
    mMaxX = 1.0f - mHalfWidth;
    mStartY = mHalfHeight;
    mFloorY = 1.0f - mHalfHeight;
    mStartZ = mZ;
    Reset();
}

void Boulder::Reset()
{
    Entity::Reset();
    mRollSpeed = ROLL_SPEED;
    // Two draws in this order: sideways first, then downward.
    const int r1 = rand();
    mSpeedX = ((r1 % 1000) * 0.001f + 1.0f) * 0.011666667f;
    mZ = mStartZ;
    mY = mStartY;
    const int r2 = rand();
    mSpeedY = (r2 % 1000) * 0.000011666667f;
}

bool Boulder::Update(Player& player)
{
    Entity::Update(player);

    mX += mSpeedX;
    if (mX <= mMinX)
    {
        mX = mMinX + 0.005f;
        mSpeedX = -mSpeedX;
    }
    if (mX >= mMaxX)
    {
        mX = mMaxX - 0.005f;
        mSpeedX = -mSpeedX;
    }

    mSpeedY += 0.002f;
    mY += mSpeedY;
    if (mY >= mFloorY)
    {
        mY = mFloorY - 0.005f;
        mSpeedY *= -0.9f;
    }

    mZ -= mRollSpeed;
    return mZ > player.mZ - 10.0f;
}

void Boulder::Touch(Player& player)
{
    Knock(*this, player, KNOCK_BACK * player.mSpeed);
}
