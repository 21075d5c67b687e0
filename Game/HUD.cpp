#include "Game/HUD.h"

#include <cstdio>

#include "Core/Game_Speed.h"
#include "Core/Globals.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "World/Camera.h"
#include "World/Entity.h"

HUD gHUD;
Overlay& gOverlay = gHUD;

namespace
{
const int FLY_FRAMES = 30;
const int CLAW_FRAMES = 40;
const float PANIC_PER_DISTANCE = 0.0033333334f; // 1 / 300: the dragon 300 behind is calm
const float CLAW_PANIC = 0.75f;
const int SCORE_POPUP_FRAMES = 200;
const int HURT_FRAMES = 15;

// Panic: the voice never drops below half loud; a claw shakes the cave by twice the panic;
// the PANIC! word pulses every PULSE_FRAMES times the calm left.
const float QUIETEST_VOICE = 0.5f;
const float CLAW_QUAKE_PER_PANIC = 2.0f;
const float PULSE_FRAMES = 100.0f;
const float PANIC_RED = 0.75f; // the bars go red from here, orange and yellow below
const float PANIC_ORANGE = 0.5f;
const float PANIC_YELLOW = 0.25f;
const float HURT_FLASH_PERCENT = 10.0f; // red alpha per hurt frame left, in percent
// With flashing reduced: the red at this fraction, mixed into the colours rather than
// putting out all but red, no new flash within FLASH_SPACING frames of the last (at most
// three a second), and the claw seen through at CLAW_REDUCED_ALPHA.
const float REDUCED_FLASH = 0.2f;
const int FLASH_SPACING = 20;
const float CLAW_REDUCED_ALPHA = 0.35f;

// A picked-up item flies from the runner into its box; a used one flies off toward the
// viewer, turning once.
const float ITEM_FLY_FROM_Z = -1.5f;
const float THROWN_FROM_RAISE = 0.3f; // above the runner
const float ITEM_BOX_X = -0.29f;
const float ITEM_BOX_Y = 0.7f;
const float THROWN_TO_Z = 2.0f;
const float THROWN_TURN = 360.0f;
const float ITEM_START_SCALE = 0.2f;
const float HELD_ITEM_SCALE = 0.5f;

// The gem count pops up large and fades back over SCORE_POPUP_FRAMES: both its size
// above normal and its alpha are SCORE_POPUP_FADE per frame left.
const float SCORE_POPUP_FADE = 0.005f;
const float GEM_SCALE = 0.7f;
const float GEM_X = 0.64f;
const float SCORE_X = 0.7f;
const float SCORE_RAISE = 0.06f; // above the panic bar's row
const float SPEED_X = 0.92f;
const float SPEED_Y = 0.64f;
const float SPEED_SCALE = 0.6f;

const float PANIC_BAR_X = -0.75f;
const float PANIC_BAR_Y = 0.75f;
const float PANIC_WORD_RAISE = 0.09f; // above the bar
const float PANIC_LABEL_ALPHA = 0.2f;

// The chase bar: progress 0 to 1 maps to -CHASE_LEFT to CHASE_LENGTH - CHASE_LEFT; the
// dragon's marker is drawn DRAGON_LAG behind its progress, and once caught sits CAUGHT_GAP
// behind the runner's.
const float CHASE_LENGTH = 1.71f;
const float CHASE_LEFT = 0.7f; // left of the middle
const float DRAGON_LAG = 0.29f;
const float CAUGHT_GAP = 0.2f;
const float CHASE_Y = -0.9f;
const float CHASE_BAR_ALPHA = 0.5f;
const float CHASE_DRAGON_SCALE = 0.2f;

// A claw sweeps down from the top over CLAW_FRAMES: f runs 0 to 1 by CLAW_STEP a frame.
const float CLAW_STEP = 0.025f; // 1 / CLAW_FRAMES
const float CLAW_TOP = 1.0f;
const float CLAW_DROP = 2.3f;
const float CLAW_ANGLE = 45.0f; // tilted inward, the left hand's the other way
const float CLAW_X = 1.1f;      // off the side it comes from
const float CLAW_DRIFT = 0.1f;  // toward the middle over the sweep

void Lerp(float* out, const float* from, const float* to, float t)
{
    for (int i = 0; i < 3; ++i)
        out[i] = from[i] + (to[i] - from[i]) * t;
}

void Set3(float* out, float x, float y, float z)
{
    out[0] = x;
    out[1] = y;
    out[2] = z;
}
} // namespace

HUD::HUD()
    : mScore(0), mLastSeenScore(0), mScorePopupTimer(0), mPanic(0), mPreviousPanic(0), mHurtTimer(0),
      mFramesSinceFlash(FLASH_SPACING), mPulseCounter(0), mPulsePeriod(0), mItemShown(false), mItemCounter(0),
      mItemKey(-1), mPreviousItemKey(-1), mThrownCounter(FLY_FRAMES), mPlayerDistance(0), mDragonDistance(0),
      mDragonProgress(-1.0f), mPlayerProgress(0), mClawFrame(CLAW_FRAMES), mClawCount(0), mClawActive(false),
      mClawShown(false), mClawX(0), mClawY(0), mClawVoicePending(true), mHidden(false)
{
    Set3(mPanicBarPosition, PANIC_BAR_X, PANIC_BAR_Y, 0.0f);
    Set3(mItemStart, 0, 0, 0);
    Set3(mItemCurrent, 0, 0, 0);
    Set3(mItemTarget, ITEM_BOX_X, ITEM_BOX_Y, 0.0f);
    Set3(mThrownStart, 0, 0, 0);
    Set3(mThrownCurrent, 0, 0, 0);
    Set3(mThrownTarget, 0.0f, 0.0f, THROWN_TO_Z);
}

void HUD::DrawGemAt(float x, float y, float z) const
{
    gGraphics.DrawFrameAt(mGemImage, x, y, z);
}

void HUD::Init()
{
    mClawActive = false;

    mItemImage = Animation_Frame();
    mItemImage.mScale.Set(ITEM_START_SCALE, ITEM_START_SCALE, 1.0f);
    mLastItemImage = mItemImage;
    mThrownItemImage = mLastItemImage;
    mGemImage.SetImage("GEM");
    mGemImage.mScale.Set(GEM_SCALE, GEM_SCALE, 1.0f);
    mOverlayImage.SetImage("HUD");
    mPanicBar.SetImage("PANIC_BAR");
    mPanicBarFill = mPanicBar;
    mPanicBarFill.mScale.mX = 0.0f; // no panic yet
    mPanicBarOutline.SetImage("PANIC_BAR_OUTLINE");
    mPanicBarLabel.SetImage("PANIC_BAR_TEXT");
    mPanicBarLabel.mTint.Set(PANIC_LABEL_ALPHA, 1.0f, 1.0f, 1.0f);
    mChaseBar.SetImage("CHASE_BAR");
    mChaseDragon.SetImage("CHASE_DRAGON");
    mChaseDragon.mScale.Set(CHASE_DRAGON_SCALE, CHASE_DRAGON_SCALE, 1.0f);
    mChasePlayer.SetImage("CHASE_PLAYER");
    mClaw.SetImage("DRAGON_CLAW");
    mFont.Init();

    mScore = 0;
    mScorePopupTimer = 0;
    mPanic = 0;
    mHurtTimer = 0;
    mFramesSinceFlash = FLASH_SPACING;
    Set3(mPanicBarPosition, PANIC_BAR_X, PANIC_BAR_Y, 0.0f);
    mPulseCounter = 0;
    mPulsePeriod = 0;
    mItemShown = false;
    Set3(mItemTarget, ITEM_BOX_X, ITEM_BOX_Y, 0.0f);
    mItemKey = -1;
    mPreviousItemKey = -1;
    Set3(mThrownTarget, 0.0f, 0.0f, THROWN_TO_Z);
    mThrownCounter = FLY_FRAMES;
    mPlayerDistance = 0;
    mDragonDistance = 0;
    mDragonProgress = -1.0f;
    mPlayerProgress = 0;
    mClawFrame = CLAW_FRAMES;
    mClawCount = 0;
    mClawShown = false;
    mClawVoicePending = true;
}

void HUD::SetTexture(const std::string& key)
{
    mOverlayImage.SetImage(key);
}

float HUD::PulseScale() const
{
    // Just short of a full catch the period truncates to 0: no pulse, normal size.
    if (mPulsePeriod == 0)
        return 1.0f;
    return 1.0f + static_cast<float>(mPulseCounter) / static_cast<float>(mPulsePeriod);
}

HUD::Requests HUD::Update(const Play_State& play)
{
    mPreviousPanic = mPanic;
    mPanic = 1.0f - (play.playerDistance - play.dragonDistance) * PANIC_PER_DISTANCE;
    mDragonProgress = play.dragonProgress;
    mPlayerProgress = play.playerProgress;
    mPlayerDistance = play.playerDistance;
    mDragonDistance = play.dragonDistance;

    Requests requests = {};
    // The dragon's lines are half loud while it is far and full loud when it is upon you.
    requests.voiceLevel = mPanic > QUIETEST_VOICE ? mPanic : QUIETEST_VOICE;

    mScore = play.score;
    mLastItemImage = mItemImage;
    mPreviousItemKey = mItemKey;

    if (play.heldItem)
    {
        if (mItemKey != play.heldItem->mScoreValue)
        {
            Set3(mItemStart, Camera::FractionToScreenX(play.runnerX), Camera::FractionToScreenY(play.runnerY),
                 ITEM_FLY_FROM_Z);
            mItemCounter = 0;
            mItemKey = play.heldItem->mScoreValue;
        }
        const Animation& model = play.heldItem->mModel;
        if (!model.mSets.empty() && !model.mSets[0].mFrames.empty())
            mItemImage = model.mSets[0].mFrames[0];
        else
            mItemImage = Animation_Frame();
        mItemImage.mScale.mX = HELD_ITEM_SCALE;
        mItemImage.mScale.mY = HELD_ITEM_SCALE;
        mItemShown = true;
        if (mItemCounter < FLY_FRAMES)
            ++mItemCounter;
        Lerp(mItemCurrent, mItemStart, mItemTarget, static_cast<float>(mItemCounter) / FLY_FRAMES);
    }
    else
    {
        mItemShown = false;
        mItemKey = -1;
        // An item was just used up: it flies off toward the viewer. Items worth 0 do not.
        if (mPreviousItemKey != -1 && mPreviousItemKey != 0)
        {
            mThrownItemImage = mLastItemImage;
            Set3(mThrownStart, Camera::FractionToScreenX(play.runnerX),
                 Camera::FractionToScreenY(play.runnerY) + THROWN_FROM_RAISE, ITEM_FLY_FROM_Z);
            mThrownCounter = 0;
        }
    }

    const int n = mThrownCounter;
    Lerp(mThrownCurrent, mThrownStart, mThrownTarget, static_cast<float>(n) / FLY_FRAMES);
    mThrownItemImage.mRotation.mAngle = static_cast<float>(n) / FLY_FRAMES * THROWN_TURN;
    if (n < FLY_FRAMES)
    {
        mThrownCounter = n + 1;
        Lerp(mThrownCurrent, mThrownStart, mThrownTarget, static_cast<float>(n + 1) / FLY_FRAMES);
    }

    if (mScore != mLastSeenScore)
    {
        mScorePopupTimer = SCORE_POPUP_FRAMES;
        mLastSeenScore = mScore;
    }
    if (mScorePopupTimer > 0)
        mScorePopupTimer -= 1;

    if (mFramesSinceFlash < FLASH_SPACING)
        ++mFramesSinceFlash;
    if (play.runnerHit && (!gReduceFlashing || mFramesSinceFlash >= FLASH_SPACING))
    {
        mHurtTimer = HURT_FRAMES;
        mFramesSinceFlash = 0;
    }

    if (mPreviousPanic < mPanic && mPanic > CLAW_PANIC && !mClawActive)
    {
        if (mClawVoicePending)
        {
            requests.attackVoice = true;
            mClawVoicePending = false;
        }
        mClawActive = true;
        mClawFrame = 0;
        requests.quakeFrames = CLAW_FRAMES;
        requests.quakeStrength = CLAW_QUAKE_PER_PANIC * mPanic;
        ++mClawCount;
    }

    if (mPanic != mPreviousPanic && mHurtTimer == 0)
    {
        mPulseCounter = 0;
        mPulsePeriod = static_cast<int32_t>((1.0f - mPanic) * PULSE_FRAMES);
    }
    if (mHurtTimer > 0)
        mHurtTimer -= 1;
    if (mPulseCounter < mPulsePeriod)
        ++mPulseCounter;
    else
        mPulseCounter = 0;

    PoseClaw();

    // Caught: the chase bar's dragon opens its jaws, and keeps them open until Init.
    if (mPanic >= 1.0f && mChaseDragon.mKey != "CHASE_DRAGON_EATYOU")
        mChaseDragon.SetImage("CHASE_DRAGON_EATYOU");
    // The fill grows from the bar's left end, as a gauge does, and stops at its right
    // end: once caught the panic passes 1 and the fill would cross the whole screen.
    mPanicBarFill.mScale.mX = mPanic < 0.0f ? 0.0f : (mPanic > 1.0f ? 1.0f : mPanic);

    return requests;
}

float HUD::HurtFlash() const
{
    return mHurtTimer * HURT_FLASH_PERCENT * 0.01f * (gReduceFlashing ? REDUCED_FLASH : 1.0f);
}

void HUD::PanicColour(float alpha) const
{
    if (mPanic >= PANIC_RED)
        gGraphics.PushColour(alpha, 1.0f, 0.0f, 0.0f);
    else if (mPanic >= PANIC_ORANGE)
        gGraphics.PushColour(alpha, 1.0f, 0.5f, 0.0f);
    else if (mPanic >= PANIC_YELLOW)
        gGraphics.PushColour(alpha, 1.0f, 1.0f, 0.0f);
    else
        gGraphics.PushColour(alpha, 0.0f, 1.0f, 0.0f);
}

void HUD::HurtColour() const
{
    if (gReduceFlashing)
        gGraphics.PushColour(1.0f, 1.0f, 1.0f - HurtFlash(), 1.0f - HurtFlash());
    else
        gGraphics.PushColour(HurtFlash(), 1.0f, 0.0f, 0.0f);
}

void HUD::Draw() const
{
    if (!mHidden)
        gGraphics.DrawFrameAt(mOverlayImage, 0.0f, 0.0f, 0.0f);

    if (mItemShown)
        gGraphics.DrawFrameAt(mItemImage, mItemCurrent[0], mItemCurrent[1], mItemCurrent[2]);

    if (mThrownCounter < FLY_FRAMES)
        gGraphics.DrawFrameAt(mThrownItemImage, mThrownCurrent[0], mThrownCurrent[1], mThrownCurrent[2]);

    if (mScorePopupTimer > 0)
    {
        const float t = mScorePopupTimer;
        char text[32];
        std::snprintf(text, sizeof text, "x%i", static_cast<int>(mScore));
        mFont.SetScale(1.0f + t * SCORE_POPUP_FADE);
        gGraphics.PushColour(t * SCORE_POPUP_FADE, 1.0f, 1.0f, 1.0f);
        gGraphics.DrawFrameAt(mGemImage, GEM_X, PANIC_BAR_Y + SCORE_RAISE, 0.0f);
        gGraphics.PopColour();
        mFont.drawString(text, SCORE_X, PANIC_BAR_Y + SCORE_RAISE, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        mFont.SetScale(1.0f);
    }

    if (!mHidden)
        DrawClaw();

    // A slower game says so, under the gem count.
    if (!gGameSpeed.IsFull())
    {
        char speed[16];
        std::snprintf(speed, sizeof speed, "SPEED %d%%", gGameSpeed.GetPercent());
        mFont.SetScale(SPEED_SCALE);
        mFont.drawStringCentered(speed, SPEED_X, SPEED_Y, 0.0f, 1.0f, 1.0f, 0.5f, 1.0f);
        mFont.SetScale(1.0f);
    }

    DrawChaseBar();
    DrawPanicBar();
}

void HUD::DrawChaseBar() const
{
    const float playerX = mPlayerProgress * CHASE_LENGTH - CHASE_LEFT;
    float dragonX = mDragonProgress * CHASE_LENGTH - DRAGON_LAG - CHASE_LEFT;
    if (mPanic >= 1.0f)
        dragonX = playerX - CAUGHT_GAP;

    const bool hurt = mHurtTimer > 0;
    if (hurt)
        HurtColour();
    else
        PanicColour(CHASE_BAR_ALPHA);
    gGraphics.DrawFrameAt(mChaseBar, 0.0f, CHASE_Y, 0.0f);
    gGraphics.PopColour();

    if (hurt)
        HurtColour();
    else
        gGraphics.PushColour(1.0f, 1.0f, 1.0f, 1.0f); // markers solid, to be read at a glance
    gGraphics.DrawFrameAt(mChasePlayer, playerX, CHASE_Y, 0.0f);
    gGraphics.PopColour();

    if (hurt)
        HurtColour();
    else
        gGraphics.PushColour(1.0f, 1.0f, 1.0f, 1.0f); // markers solid, to be read at a glance
    gGraphics.DrawFrameAt(mChaseDragon, dragonX, CHASE_Y, 0.0f);
    gGraphics.PopColour();
}

void HUD::DrawPanicBar() const
{
    const float* p = mPanicBarPosition;
    if (mHurtTimer > 0)
    {
        HurtColour();
        gGraphics.DrawFrameAt(mPanicBar, p[0], p[1], p[2]);
        gGraphics.PopColour();
        return;
    }

    gGraphics.DrawFrameAt(mPanicBarLabel, p[0], p[1], p[2]);
    const float shown = mPanicBarFill.mScale.mX;
    const float fullWidth = gImageBank.GetImage(mPanicBar.mKey).mWorldWidth;
    PanicColour(1.0f);
    gGraphics.DrawFrameAt(mPanicBarFill, p[0] - 0.5f * fullWidth * (1.0f - shown), p[1], p[2]);
    gGraphics.PopColour();
    gGraphics.DrawFrameAt(mPanicBarOutline, p[0], p[1], p[2]);

    if (mPanic != 0.0f)
    {
        mFont.SetScale(PulseScale());
        mFont.drawStringCentered("PANIC!", PANIC_BAR_X, PANIC_BAR_Y + PANIC_WORD_RAISE, 0.0f, 1.0f, 1.0f,
                                 1.0f, 1.0f);
        mFont.SetScale(1.0f);
    }
}

void HUD::Hide()
{
    mHidden = true;
    PoseClaw();
}

void HUD::Show()
{
    mHidden = false;
    PoseClaw();
}

void HUD::ClawSeen()
{
    if (mClawShown)
    {
        ++mClawFrame;
        if (mClawFrame >= CLAW_FRAMES)
            mClawActive = false;
    }
    PoseClaw();
}

void HUD::PoseClaw()
{
    // A hidden HUD holds the attack where it is.
    mClawShown = !mHidden && mClawFrame < CLAW_FRAMES;
    if (mClawShown)
    {
        // The sixth attack is a plain right-hand swipe that lets the next one speak again.
        if (mClawCount % 6 == 0)
            mClawVoicePending = true;
        const float f = mClawFrame * CLAW_STEP;
        const Claw_Pose pose = ClawPose(mClawCount, f);
        if (mClaw.mKey != pose.image)
            mClaw.SetImage(pose.image);
        mClaw.mRotation.Set(pose.angle, 0.0f, 0.0f, 1.0f);
        mClawX = pose.x;
        mClawY = CLAW_TOP - f * CLAW_DROP;
    }
}

HUD::Claw_Pose HUD::ClawPose(int32_t count, float f)
{
    // Every third attack comes from the left; the rest, the sixth included, from the right.
    if (count % 3 == 0 && count % 2 != 0)
        return {"DRAGON_CLAW_LEFTY", -CLAW_ANGLE, f * CLAW_DRIFT - CLAW_X};
    return {"DRAGON_CLAW", CLAW_ANGLE, CLAW_X - f * CLAW_DRIFT};
}

void HUD::DrawClaw() const
{
    if (!mClawShown)
        return;
    gGraphics.PushColour(gReduceFlashing ? CLAW_REDUCED_ALPHA : 1.0f, 1.0f, 1.0f, 1.0f);
    gGraphics.DrawFrameAt(mClaw, mClawX, mClawY, 0.0f);
    gGraphics.PopColour();
}
