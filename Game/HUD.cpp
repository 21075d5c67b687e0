#include "Game/HUD.h"

#include <cstdio>

#include "Core/Game_Speed.h"
#include "Core/Globals.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "World/Entity.h"

HUD gHUD;
Overlay& gOverlay = gHUD;

namespace
{
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
const float CLAW_REDUCED_ALPHA = 0.35f;

// A picked-up item flies from the runner into its box; a used one flies off toward the
// viewer, turning once.
const float ITEM_FLY_FROM_Z = -1.5f;
const float THROWN_FROM_RAISE = 0.3f; // above the runner
const float ITEM_BOX[3] = {-0.29f, 0.7f, 0.0f};
const float THROWN_TO[3] = {0.0f, 0.0f, 2.0f};
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

void HUD::Init()
{
    mItem.mImage = Animation_Frame();
    mItem.mImage.mScale.Set(ITEM_START_SCALE, ITEM_START_SCALE, 1.0f);
    mItem.mThrownImage = mItem.mImage;
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
    mClaw = Claw_Attack();
    mClaw.mImage.SetImage("DRAGON_CLAW");
    mFont.Init();

    mScore = 0;
    mScorePopupTimer = 0;
    mPanic = 0;
    mHurtTimer = 0;
    mFramesSinceFlash = FLASH_SPACING;
    mPulseCounter = 0;
    mPulsePeriod = 0;
    mItem.mShown = false;
    mItem.mKey = -1;
    mItem.mThrownCounter = FLY_FRAMES;
    mDragonProgress = -1.0f;
    mPlayerProgress = 0;
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

    Requests requests = {};
    // The dragon's lines are half loud while it is far and full loud when it is upon you.
    requests.voiceLevel = mPanic > QUIETEST_VOICE ? mPanic : QUIETEST_VOICE;

    mScore = play.score;
    UpdateItem(play);
    UpdateThrown();

    if (mScore != mLastSeenScore)
    {
        mScorePopupTimer = SCORE_POPUP_FRAMES;
        mLastSeenScore = mScore;
    }
    if (mScorePopupTimer > 0)
        mScorePopupTimer -= 1;

    UpdateFlashes(play.runnerHit);
    if (mPreviousPanic < mPanic && mPanic > CLAW_PANIC && !mClaw.mActive)
        StartClaw(requests);
    PoseClaw();

    // Caught: the chase bar's dragon opens its jaws, and keeps them open until Init.
    if (mPanic >= 1.0f && mChaseDragon.mKey != "CHASE_DRAGON_EATYOU")
        mChaseDragon.SetImage("CHASE_DRAGON_EATYOU");
    // The fill grows from the bar's left end, as a gauge does, and stops at its right
    // end: once caught the panic passes 1 and the fill would cross the whole screen.
    mPanicBarFill.mScale.mX = mPanic < 0.0f ? 0.0f : (mPanic > 1.0f ? 1.0f : mPanic);

    return requests;
}

void HUD::UpdateItem(const Play_State& play)
{
    if (!play.heldItem)
    {
        const int32_t used = mItem.mKey;
        mItem.mShown = false;
        mItem.mKey = -1;
        // An item was just used up: it flies off toward the viewer. Items worth 0 do not.
        if (used != -1 && used != 0)
        {
            mItem.mThrownImage = mItem.mImage;
            Set3(mItem.mThrownStart, FractionToScreenX(play.runnerX),
                 FractionToScreenY(play.runnerY) + THROWN_FROM_RAISE, ITEM_FLY_FROM_Z);
            mItem.mThrownCounter = 0;
        }
        return;
    }
    if (mItem.mKey != play.heldItem->mScoreValue)
    {
        Set3(mItem.mStart, FractionToScreenX(play.runnerX), FractionToScreenY(play.runnerY), ITEM_FLY_FROM_Z);
        mItem.mCounter = 0;
        mItem.mKey = play.heldItem->mScoreValue;
    }
    const Animation& model = play.heldItem->mModel;
    if (!model.mSets.empty() && !model.mSets[0].mFrames.empty())
        mItem.mImage = model.mSets[0].mFrames[0];
    else
        mItem.mImage = Animation_Frame();
    mItem.mImage.mScale.mX = HELD_ITEM_SCALE;
    mItem.mImage.mScale.mY = HELD_ITEM_SCALE;
    mItem.mShown = true;
    if (mItem.mCounter < FLY_FRAMES)
        ++mItem.mCounter;
    Lerp(mItem.mCurrent, mItem.mStart, ITEM_BOX, static_cast<float>(mItem.mCounter) / FLY_FRAMES);
}

void HUD::UpdateThrown()
{
    const int n = mItem.mThrownCounter;
    mItem.mThrownImage.mRotation.mAngle = static_cast<float>(n) / FLY_FRAMES * THROWN_TURN;
    if (n < FLY_FRAMES)
        mItem.mThrownCounter = n + 1;
    const float t = static_cast<float>(mItem.mThrownCounter) / FLY_FRAMES;
    Lerp(mItem.mThrownCurrent, mItem.mThrownStart, THROWN_TO, t);
}

void HUD::UpdateFlashes(bool runnerHit)
{
    if (mFramesSinceFlash < FLASH_SPACING)
        ++mFramesSinceFlash;
    if (runnerHit && (!gReduceFlashing || mFramesSinceFlash >= FLASH_SPACING))
    {
        mHurtTimer = HURT_FRAMES;
        mFramesSinceFlash = 0;
    }

    // While red, a changing panic does not restart the pulse.
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
}

void HUD::StartClaw(Requests& requests)
{
    if (mClaw.mVoicePending)
    {
        requests.attackVoice = true;
        mClaw.mVoicePending = false;
    }
    mClaw.mActive = true;
    mClaw.mFrame = 0;
    requests.quakeFrames = CLAW_FRAMES;
    requests.quakeStrength = CLAW_QUAKE_PER_PANIC * mPanic;
    ++mClaw.mCount;
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

    if (mItem.mShown)
        gGraphics.DrawFrameAt(mItem.mImage, mItem.mCurrent[0], mItem.mCurrent[1], mItem.mCurrent[2]);

    if (mItem.mThrownCounter < FLY_FRAMES)
        gGraphics.DrawFrameAt(mItem.mThrownImage, mItem.mThrownCurrent[0], mItem.mThrownCurrent[1],
                              mItem.mThrownCurrent[2]);

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

    const Animation_Frame* markers[] = {&mChasePlayer, &mChaseDragon};
    const float markerX[] = {playerX, dragonX};
    for (int i = 0; i < 2; ++i)
    {
        if (hurt)
            HurtColour();
        else
            gGraphics.PushColour(1.0f, 1.0f, 1.0f, 1.0f); // markers solid, to be read at a glance
        gGraphics.DrawFrameAt(*markers[i], markerX[i], CHASE_Y, 0.0f);
        gGraphics.PopColour();
    }
}

void HUD::DrawPanicBar() const
{
    const float p[3] = {PANIC_BAR_X, PANIC_BAR_Y, 0.0f};
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
    if (mClaw.mShown)
    {
        ++mClaw.mFrame;
        if (mClaw.mFrame >= CLAW_FRAMES)
            mClaw.mActive = false;
    }
    PoseClaw();
}

void HUD::PoseClaw()
{
    // A hidden HUD holds the attack where it is.
    mClaw.mShown = !mHidden && mClaw.mFrame < CLAW_FRAMES;
    if (mClaw.mShown)
    {
        // The sixth attack is a plain right-hand swipe that lets the next one speak again.
        if (mClaw.mCount % 6 == 0)
            mClaw.mVoicePending = true;
        const float f = mClaw.mFrame * CLAW_STEP;
        const Claw_Pose pose = ClawPose(mClaw.mCount, f);
        if (mClaw.mImage.mKey != pose.image)
            mClaw.mImage.SetImage(pose.image);
        mClaw.mImage.mRotation.Set(pose.angle, 0.0f, 0.0f, 1.0f);
        mClaw.mX = pose.x;
        mClaw.mY = CLAW_TOP - f * CLAW_DROP;
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
    if (!mClaw.mShown)
        return;
    gGraphics.PushColour(gReduceFlashing ? CLAW_REDUCED_ALPHA : 1.0f, 1.0f, 1.0f, 1.0f);
    gGraphics.DrawFrameAt(mClaw.mImage, mClaw.mX, mClaw.mY, 0.0f);
    gGraphics.PopColour();
}
