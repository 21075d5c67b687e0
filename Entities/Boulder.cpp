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
// Slowest sideways speed, per frame: 0.7 of the corridor a second at 60 frames a second.
// A boulder starts at one to two times it across, and at up to it downward.
const float SIDE_SPEED = 0.7f / 60.0f;
const int DRAW_STEPS = 1000;       // a random draw picks one of this many speeds
const float FALL_GRAVITY = 0.002f; // added to the downward speed each frame
const float BOUNCE = -0.9f;        // the floor sends it back up at 90% of its speed
const float STAND_OFF = 0.005f;    // put back this far off a wall or the floor it hit
const float GONE_BEHIND = 10.0f;   // leaves play this far behind the runner
const int FIRST_FRAME_HOLD = 5;    // frames the first picture of the roll is shown
} // namespace

Boulder::Boulder() : mRollSpeed(ROLL_SPEED) {}

void Boulder::Setup()
{
    mTouchSounds.push_back(SOUND_MONSTER_HIT);
    mTouchVoiceLines.push_back(VOICE_BET_THAT_HURT);

    Animation_Set set;
    for (const char* key : {"BOULDER_1", "BOULDER_2", "BOULDER_3", "BOULDER_4"})
        set.mFrames.push_back(Animation_Frame(key));
    set.mFrames[0].mDuration = FIRST_FRAME_HOLD;
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
    mSpeedX = ((r1 % DRAW_STEPS) * (1.0f / DRAW_STEPS) + 1.0f) * SIDE_SPEED;
    mZ = mStartZ;
    mY = mStartY;
    const int r2 = rand();
    mSpeedY = (r2 % DRAW_STEPS) * (SIDE_SPEED / DRAW_STEPS);
}

bool Boulder::Update(Player& player)
{
    Entity::Update(player);
    Bounce(mX, mY, mSpeedX, mSpeedY);
    mZ -= mRollSpeed;
    return mZ > player.mZ - GONE_BEHIND;
}

void Boulder::Bounce(float& x, float& y, float& vx, float& vy) const
{
    x += vx;
    if (x <= mMinX)
    {
        x = mMinX + STAND_OFF;
        vx = -vx;
    }
    if (x >= mMaxX)
    {
        x = mMaxX - STAND_OFF;
        vx = -vx;
    }

    vy += FALL_GRAVITY;
    y += vy;
    if (y >= mFloorY)
    {
        y = mFloorY - STAND_OFF;
        vy *= BOUNCE;
    }
}

void Boulder::Touch(Player& player)
{
    Knock(*this, player, KNOCK_BACK * player.mSpeed);
}
