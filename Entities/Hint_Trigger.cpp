#include "Entities/Hint_Trigger.h"

#include <cstdlib>

#include "Audio/Sound_Manager.h"
#include "Core/Clock.h"
#include "Core/Constants.h"
#include "Entities/Player.h"
#include "Graphics/Graphics.h"
#include "World/Background_Handler.h"
#include "World/Environment_Handler.h"
#include "World/Floating_Text.h"
#include "World/Overlay.h"

namespace
{
const char* const PRAISE_WORDS[] = {"Great Job!", "Super!",     "Excellent!", "Amazing!", "Wow!",
                                    "Nice Job!",  "Sweet!",     "Awesome!",   "Nifty!",   "Rockin!",
                                    "Yeah!",      "Way to go!", "Tight!",     "Cool!"};

const float HALF_SIZE = 0.5f; // the trigger's half width and half height

// Hint phase: the runner brakes by SLOW_DOWN a frame to a crawl while the picture shows.
const int32_t HINT_MS = 5000;
const float SLOW_DOWN = 0.03f;
const float CRAWL_SPEED = 0.2f;

// Run phase: both speed up by SPEED_UP a frame to TOP_SPEED; play goes on once the
// title has shown for MESSAGE_MS and the top speed is reached.
const float SPEED_UP = 0.01f;
const float TOP_SPEED = 1.0f;
const int32_t MESSAGE_MS = 2000;
const int QUAKE_FRAMES = 200; // the dragon wakes: the cave shakes as the run starts
const float QUAKE_STRENGTH = 35.0f;

// The hint picture spins in, slowing by SPIN_DECAY a frame, and fades in; it starts to
// fade out FADE_OUT_AFTER_MS after the touch.
const float START_SPIN = 12.0f; // degrees a frame
const float SPIN_DECAY = 0.1f;
const float FADE_IN = 0.01f; // alpha a frame
const float FADE_OUT = 0.005f;
const int32_t FADE_OUT_AFTER_MS = 3000;
const float HINT_Y = 0.4f;

// The praise word drifts toward the viewer, blue, fading out.
const float PRAISE_FRAMES = 350.0f;
const float PRAISE_X = 0.4f;
const float PRAISE_Y = 0.3f;
const float PRAISE_FROM_Z = 0.5f;
const float PRAISE_TO_Z = 2.0f;

// The game's title stands still and turns from clear black to red.
const float TITLE_FRAMES = 150.0f;
const float TITLE_X = 0.36f;
const float TITLE_Y = 0.45f;
const float TITLE_Z = 1.0f;

Tint Colour(float r, float g, float b, float a)
{
    Tint t;
    t.Set(a, r, g, b);
    return t;
}
} // namespace

// Reset sets the rest.
Hint_Trigger::Hint_Trigger() : mHintEndTime(0), mMessageEndTime(0), mFadeTime(0)
{
    mHintFrame.mKey.clear();
    mInOverlayList = true;
    Reset();
    mTouchSounds = {SOUND_YEHAW, SOUND_YEEHOO, SOUND_CHEERING};
}

void Hint_Trigger::Setup()
{
    mHalfWidth = HALF_SIZE;
    mHalfHeight = HALF_SIZE;
    mPraiseWords.assign(std::begin(PRAISE_WORDS), std::end(PRAISE_WORDS));
    Reset();
}

void Hint_Trigger::Reset()
{
    Entity::Reset();
    mSpin = START_SPIN;
    mFadingIn = true;
    mWordIndex = 0;
    mHintActive = false;
    mTextPending = true;
    mTouched = false;
}

void Hint_Trigger::Touch(Player& player)
{
    Entity::Touch(player);
    mSolid = false;
    mTouched = true;
    player.SaveCheckpoint();
    const int32_t now = ClockMs();
    mHintEndTime = now + HINT_MS;
    mFadeTime = now + FADE_OUT_AFTER_MS;
    // A record without HINT shows no picture, like "None".
    const std::string hint = GetAttribute("HINT");
    mHintFrame.SetImage(hint.empty() ? "None" : hint);
    mHintFrame.mTint.Set(0.0f, 1.0f, 1.0f, 1.0f);
    mHintActive = true;
    mWordIndex = mPraiseWords.empty() ? 0 : rand() % static_cast<int>(mPraiseWords.size());
    gEnvironment.mDragonSpeed = 0.0f;
}

bool Hint_Trigger::Update(Player& player)
{
    if (!mTouched)
        return true;

    player.mAccelerating = false;

    if (mHintActive)
    {
        gOverlay.Hide();
        if (mTextPending && mWordIndex < static_cast<int32_t>(mPraiseWords.size()))
        {
            gFloatingTexts.Add(mPraiseWords[mWordIndex], PRAISE_FRAMES, PRAISE_X, PRAISE_Y, PRAISE_FROM_Z,
                               Colour(0.0f, 0.0f, 1.0f, 1.0f), PRAISE_X, PRAISE_Y, PRAISE_TO_Z,
                               Colour(0.0f, 0.0f, 1.0f, 0.0f));
        }
        mTextPending = false;
    }

    // Hint phase: the runner slows to a crawl and keeps it.
    if (ClockMs() <= mHintEndTime)
    {
        player.SetSpeed(player.mSpeed - SLOW_DOWN);
        if (player.mSpeed < CRAWL_SPEED)
            player.SetSpeed(CRAWL_SPEED);
        return true;
    }

    if (mHintActive)
    {
        gBackground.StartEarthquake(QUAKE_FRAMES, QUAKE_STRENGTH);
        mTextPending = true;
        mMessageEndTime = ClockMs() + MESSAGE_MS;
        gSound.PlayRandomVoice(gEnvironment.mTauntLines);
        mHintActive = false;
    }

    if (mTextPending)
    {
        gFloatingTexts.Add(GAME_TITLE, TITLE_FRAMES, TITLE_X, TITLE_Y, TITLE_Z,
                           Colour(0.0f, 0.0f, 0.0f, 0.0f), TITLE_X, TITLE_Y, TITLE_Z,
                           Colour(1.0f, 0.0f, 0.0f, 1.0f));
        mTextPending = false;
    }

    // Run phase: the dragon keeps exactly the runner's pace while both speed up.
    player.SetSpeed(player.mSpeed + SPEED_UP);
    gEnvironment.mDragonSpeed = player.mSpeed;
    if (player.mSpeed > TOP_SPEED)
        player.SetSpeed(TOP_SPEED);

    if (ClockMs() > mMessageEndTime && player.mSpeed >= TOP_SPEED)
    {
        gOverlay.Show();
        player.ClearItemUseBlock();
        return false;
    }
    return true;
}

bool Hint_Trigger::OverlayIsStill() const
{
    if (!mHintActive || mHintFrame.mKey == "None")
        return true;
    // Drawing spins it down, fades it in, and after its time fades it out; once faded
    // away it stays unseen however far its alpha falls (nothing else reads that).
    return mSpin == 0.0f && !mFadingIn && (ClockMs() <= mFadeTime || mHintFrame.mTint.mA <= 0.0f);
}

void Hint_Trigger::DrawOverlay()
{
    if (!mHintActive || mHintFrame.mKey == "None")
        return;

    mHintFrame.mRotation.Set(mHintFrame.mRotation.mAngle + mSpin, 0.0f, 0.0f, 1.0f);
    if (mSpin > 0.0f)
        mSpin -= SPIN_DECAY;
    else
        mSpin = 0.0f;

    if (mHintFrame.mTint.mA < 1.0f && mFadingIn)
        mHintFrame.mTint.mA += FADE_IN;
    else
        mFadingIn = false;

    if (!mFadingIn && ClockMs() > mFadeTime)
        mHintFrame.mTint.mA -= FADE_OUT;

    gGraphics.DrawFrameAt(mHintFrame, 0.0f, HINT_Y, 0.0f);
}
