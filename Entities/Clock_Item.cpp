#include "Entities/Clock_Item.h"

#include "Core/Clock.h"
#include "Core/Constants.h"
#include "Core/Game_Speed.h"
#include "Core/Game_Timer.h"
#include "Entities/Object_Setup.h"

namespace
{
const float SLOW_FPS = 20.0f; // the frame rate the clock drops the game to
const int32_t SLOW_MS = 3000; // how long it stays there before speeding up again
} // namespace

// Full speed first, so that Reset has no slow motion to undo.
Clock_Item::Clock_Item() : mEndTime(0), mFps(TARGET_FPS)
{
    Reset();
    mTouchSounds.push_back(SOUND_TICK_TOCK);
    mTouchVoiceLines.push_back(VOICE_SO_SLOW);
}

Clock_Item::~Clock_Item()
{
    // Never leave the game in slow motion when the level goes away.
    if (mFps < TARGET_FPS)
        gTimer.SetFps(TARGET_FPS);
}

void Clock_Item::Setup()
{
    AddSingleFrameSet(mModel, "CLOCK");
    TakeHalfExtents(*this, "CLOCK");
}

void Clock_Item::Touch(Player& player)
{
    Entity::Touch(player);
    mSolid = false;
    // A slower game holds the slow motion as many of play's steps as at full speed.
    mEndTime = ClockMs() + gGameSpeed.Stretch(SLOW_MS);
    gTimer.SetFps(mFps);
}

bool Clock_Item::Update(Player& player)
{
    Entity::Update(player);
    if (mSolid)
        return mOnScreen;
    if (ClockMs() <= mEndTime)
        return true;
    if (mFps < TARGET_FPS)
    {
        mFps += 1.0f;
        gTimer.SetFps(mFps);
        return true;
    }
    gTimer.SetFps(TARGET_FPS);
    return false;
}

void Clock_Item::Reset()
{
    if (mFps < TARGET_FPS)
        gTimer.SetFps(TARGET_FPS);
    mScoreValue = 0;
    mHoldable = false;
    mVanishOnTouch = true;
    mFps = SLOW_FPS;
    mEndTime = 0;
    Entity::Reset();
}
