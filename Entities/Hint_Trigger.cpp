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

Tint Colour(float r, float g, float b, float a)
{
    Tint t;
    t.Set(a, r, g, b);
    return t;
}
} // namespace

Hint_Trigger::Hint_Trigger()
    : mHintEndTime(0), mMessageEndTime(0), mFadeTime(0), mHintActive(false), mTextPending(true), mSpin(12.0f),
      mFadingIn(true), mWordIndex(0), mTouched(false)
{
    mHintFrame.mKey.clear();
    mInOverlayList = true;
    mTextPending = true;
    Reset();
    mTouchSounds.push_back(SOUND_YEHAW);
    mTouchSounds.push_back(SOUND_YEEHOO);
    mTouchSounds.push_back(SOUND_CHEERING);
}

Hint_Trigger::~Hint_Trigger() = default;

void Hint_Trigger::Setup()
{
    mHalfWidth = 0.5f;
    mHalfHeight = 0.5f;
    mPraiseWords.assign(std::begin(PRAISE_WORDS), std::end(PRAISE_WORDS));
    Reset();
}

void Hint_Trigger::Reset()
{
    Entity::Reset();
    mSpin = 12.0f;
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
    mHintEndTime = now + 5000;
    mFadeTime = now + 3000;
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
            gFloatingTexts.Add(mPraiseWords[mWordIndex], 350.0f, 0.4f, 0.3f, 0.5f,
                               Colour(0.0f, 0.0f, 1.0f, 1.0f), 0.4f, 0.3f, 2.0f,
                               Colour(0.0f, 0.0f, 1.0f, 0.0f));
        }
        mTextPending = false;
    }

    // Hint phase: the runner slows to a crawl and keeps it.
    if (ClockMs() <= mHintEndTime)
    {
        player.SetSpeed(player.mSpeed - 0.03f);
        if (player.mSpeed < 0.2f)
            player.SetSpeed(0.2f);
        return true;
    }

    if (mHintActive)
    {
        gBackground.StartEarthquake(200, 35.0f);
        mTextPending = true;
        mMessageEndTime = ClockMs() + 2000;
        gSound.PlayRandomVoice(gEnvironment.mTauntLines);
        mHintActive = false;
    }

    if (mTextPending)
    {
        gFloatingTexts.Add(GAME_TITLE, 150.0f, 0.36f, 0.45f, 1.0f, Colour(0.0f, 0.0f, 0.0f, 0.0f), 0.36f,
                           0.45f, 1.0f, Colour(1.0f, 0.0f, 0.0f, 1.0f));
        mTextPending = false;
    }

    // Run phase: the dragon keeps exactly the runner's pace while both speed up.
    player.SetSpeed(player.mSpeed + 0.01f);
    gEnvironment.mDragonSpeed = player.mSpeed;
    if (player.mSpeed > 1.0f)
        player.SetSpeed(1.0f);

    if (ClockMs() > mMessageEndTime && player.mSpeed >= 1.0f)
    {
        gOverlay.Show();
        player.ClearItemUseBlock();
        return false;
    }
    return true;
}

void Hint_Trigger::DrawOverlay()
{
    if (!mHintActive || mHintFrame.mKey == "None")
        return;

    mHintFrame.mRotation.Set(mHintFrame.mRotation.mAngle + mSpin, 0.0f, 0.0f, 1.0f);
    if (mSpin > 0.0f)
        mSpin -= 0.1f;
    else
        mSpin = 0.0f;

    if (mHintFrame.mTint.mA < 1.0f && mFadingIn)
        mHintFrame.mTint.mA += 0.01f;
    else
        mFadingIn = false;

    if (!mFadingIn && ClockMs() > mFadeTime)
        mHintFrame.mTint.mA -= 0.005f;

    gGraphics.DrawFrameAt(mHintFrame, 0.0f, 0.4f, 0.0f);
}
