#include "Entities/Player.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "Core/Globals.h"
#include "Entities/Fog_Trigger.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Background_Handler.h"
#include "World/Camera.h"
#include "World/Entity.h"
#include "World/Entity_Handler.h"
#include "World/Environment_Handler.h"
#include "World/Overlay.h"

Player gPlayer;

static const int RUN_SET = 0;
static const int USE_SET = 1;
static const int BASE_RATE = 5;
static const float SHADOW_SCALE = 1.6f;
// Share of its size and strength the shadow loses for each unit the runner rises
// (the floor is y 1.0, a jump peaks near 0.4, a spring near 0.1): it shrinks and
// fades with height but stays a mark on the floor a player can aim a landing at.
static const float SHADOW_SHRINK = 0.4f;
static const float MIDDLE_X = 0.5f;      // where a run starts across the corridor
static const int RUN_FRAMES = 10;        // pictures PLAYER_RUN_1 to PLAYER_RUN_10
static const float SHADOW_TILT = 90.0f;  // about x: the shadow lies flat on the floor
static const float SHADOW_BEHIND = 0.5f; // the shadow is drawn this far behind the runner
// Back from a checkpoint: the runner a little before it, the dragon a little further
// behind where it was then, so the gap is a touch wider than the one saved.
static const float RESPAWN_BEHIND = 5.0f;
static const float DRAGON_RESPAWN_BEHIND = 6.0f;

static int RateForSpeed(float speed)
{
    return static_cast<int>(std::fabs(speed) * static_cast<float>(BASE_RATE));
}

Player::Player() : mX(MIDDLE_X)
{
    Entity::sPayScore = [](Player& player, int32_t value) { player.AddScore(value); };
}

void Player::Init()
{
    const Image_Entry& image = gImageBank.GetImage("PLAYER_RUN_1");
    mHalfWidth = image.mHalfWidthFraction;
    mHalfHeight = image.mHalfHeightFraction;
    // A second Init must not stack a second copy of the sets.
    mAnimation.mSets.clear();
    mAnimation.mSets.resize(2);
    for (int i = 1; i <= RUN_FRAMES; ++i)
        mAnimation.mSets[RUN_SET].mFrames.push_back(Animation_Frame("PLAYER_RUN_" + std::to_string(i)));
    for (int i : {1, 2, 3, 4, 5, 7, 8, 9, 10})
        mAnimation.mSets[USE_SET].mFrames.push_back(Animation_Frame("USE_ITEM_" + std::to_string(i)));
    Restart(); // which gives the sets their speeds and the use set its end
    mLevelStartScore = 0;
}

void Player::Reset()
{
    mCollidable = true;
    mHeldItem = nullptr;
    mZ = START_Z;
    mVelocityY = 0.0f;
    mSpeed = 1.0f;
    mX = MIDDLE_X;
    mY = 1.0f;
    mAccelerating = false;
    mSweep = Collision_Sweep();
    // Rewinds every set, makes the run current and drops any tint the cloak left on.
    mAnimation.Reset();
    mItemUseBlocked = false;
    if (mAnimation.mSets.size() > USE_SET)
    {
        mAnimation.mSets[RUN_SET].mSpeed = BASE_RATE;
        mAnimation.mSets[USE_SET].mSpeed = BASE_RATE;
        mAnimation.mSets[USE_SET].mLoop = false;
        mAnimation.mSets[USE_SET].mNextSet = RUN_SET;
    }
    mShadow.SetImage("PLAYER_SHADOW");
    mShadow.mScale.Set(SHADOW_SCALE, SHADOW_SCALE, 1.0f);
    mShadow.mRotation.Set(SHADOW_TILT, 1.0f, 0.0f, 0.0f);
}

void Player::Restart()
{
    mCheckpointZ = 0.0f;
    mCheckpointDragonZ = 0.0f;
    mCheckpointScore = 0;
    mScore = mLevelStartScore;
    Reset();
}

bool Player::RespawnAtCheckpoint()
{
    if (mCheckpointZ == 0.0f)
        return false;
    Reset();
    mZ = mCheckpointZ - RESPAWN_BEHIND;
    gEnvironment.gDragonDistance = mCheckpointDragonZ - DRAGON_RESPAWN_BEHIND;
    mScore = mCheckpointScore;
    gGraphics.SetFogColour(mCheckpointFogColour[0], mCheckpointFogColour[1], mCheckpointFogColour[2]);
    gGraphics.SetFogParameters(mCheckpointFog);
    gBackground.SetLook(mCheckpointLook);
    if (!mCheckpointHudFrame.empty())
        gOverlay.SetTexture(mCheckpointHudFrame);
    gBackground.CentreShift(1);
    gEntities.ResetAll();
    gEntities.ResetWindow();
    return true;
}

void Player::SaveCheckpoint()
{
    mCheckpointZ = mZ;
    mCheckpointScore = mScore;
    mCheckpointDragonZ = gEnvironment.gDragonDistance;
    const float* fog = gGraphics.GetFogColour();
    for (int c = 0; c < 3; ++c)
        mCheckpointFogColour[c] = fog[c];
    mCheckpointFog = {gGraphics.GetFogDensity(), gGraphics.GetFogStart(), gGraphics.GetFogEnd()};
    Fog_Trigger::Heading(mCheckpointFogColour, mCheckpointFog.mDensity, mCheckpointFog.mStart,
                         mCheckpointFog.mEnd);
    mCheckpointLook = gBackground.GetLook();
    mCheckpointHudFrame = gOverlay.GetTexture();
    mItemUseBlocked = true;
}

void Player::AddScore(int32_t value)
{
    const int64_t sum = static_cast<int64_t>(mScore) + value;
    mScore = static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

void Player::SetSpeed(float speed)
{
    mSpeed = speed;
    if (!mAnimation.mSets.empty())
        mAnimation.mSets[RUN_SET].mSpeed = RateForSpeed(speed);
}

void Player::SetX(float x)
{
    // The range lies within the walls, so one clamp keeps the body inside both.
    float lo, hi;
    GetXRange(lo, hi);
    mX = std::min(std::max(x, lo), hi);
}

void Player::GetXRange(float& lo, float& hi) const
{
    lo = mHalfWidth;
    hi = 1.0f - mHalfWidth;
    // Near the camera the corridor is wider than the window: against a wall half the
    // thief would be out of the picture. Its whole box stays inside the window at its
    // own depth as well (the box moves linearly with x, so two projections give it).
    const float w = 2.0f * mHalfWidth, h = 2.0f * mHalfHeight;
    const Quad left = gCamera.ProjectBox(0.0f, mY, w, h, mZ);
    const Quad right = gCamera.ProjectBox(1.0f, mY, w, h, mZ);
    const float span = right.mX - left.mX;
    const float edge = Camera::GetVisibleHalfWidth(left.mZ) - left.mWidth / 2.0f;
    if (span <= 0.0f || edge <= 0.0f)
        return;
    const float onScreenLo = (-edge - left.mX) / span, onScreenHi = (edge - left.mX) / span;
    if (onScreenLo >= onScreenHi)
        return;
    lo = std::max(lo, onScreenLo);
    hi = std::min(hi, onScreenHi);
    if (lo > hi)
        lo = hi = 0.5f * (lo + hi);
}

void Player::Launch(float velocityY, float gravity)
{
    mJumpState = 1;
    mVelocityY = velocityY;
    mGravity = gravity;
    if (mAnimation.mCurrentSet >= 0 && static_cast<size_t>(mAnimation.mCurrentSet) < mAnimation.mSets.size())
        mAnimation.GetCurrentSet().mStopped = true;
}

void Player::Update(const Input_Handler& input)
{
    mHitThisFrame = false;
    mSweep.NextFrame();

    ReadControls(input);
    if (mJumpState == 1)
        Fall();

    mZ += mSpeed;

    if (mAccelerating && mSpeed < 1.0f)
    {
        SetSpeed(mSpeed + RECOVERY_STEP);
        if (mSpeed > 1.0f)
        {
            mSpeed = 1.0f;
            mAccelerating = false;
        }
    }

    mAnimation.Update(1);
}

void Player::ReadControls(const Input_Handler& input)
{
    if (!gKeyboardControl && !gMouseControl)
        return;
    if (gKeyboardControl)
    {
        if (input.IsKeyPressed(gKeys.mJump) && mJumpState != 1)
            Launch(JUMP_VELOCITY, JUMP_GRAVITY);
        if (input.IsKeyDown(gKeys.mRight))
            SetX(mX + STEER_STEP);
        if (input.IsKeyDown(gKeys.mLeft))
            SetX(mX - STEER_STEP);
    }
    else
    {
        SetX(input.GetMouseFraction());
        if (input.IsLeftButtonDown() && mJumpState != 1)
            Launch(JUMP_VELOCITY, JUMP_GRAVITY);
    }

    if (mHeldItem && !mHeldItem->mHoldable)
    {
        mHeldItem = nullptr;
    }
    else if (mHeldItem && !mItemUseBlocked)
    {
        if (mAnimation.mSets.size() > USE_SET && mAnimation.mCurrentSet != USE_SET)
        {
            // A use set that played out last time starts again from its first frame.
            if (mAnimation.mSets[USE_SET].mFinished)
                mAnimation.mSets[USE_SET].Reset();
            mAnimation.mCurrentSet = USE_SET;
        }
        mHeldItem->Use(*this);
    }
}

void Player::Fall()
{
    mVelocityY += mGravity;
    float factor = gCamera.GetDepthFactor(mZ);
    // The runner sits near the camera, where the factor is about -1; never divide by 0.
    if (factor == 0.0f || !std::isfinite(factor))
        factor = -1.0f;
    mY += (-2.0f * mVelocityY) / factor;
    if (mY < 0.0f)
    {
        mY = JUMP_CEILING;
        mVelocityY = 0.0f;
    }
    else if (mY > 1.0f)
    {
        mY = 1.0f;
        mJumpState = 0;
        for (Animation_Set& set : mAnimation.mSets)
            set.mStopped = false;
    }
    const float keep = 1.0f - SHADOW_SHRINK * std::min(1.0f, std::max(0.0f, 1.0f - mY));
    mShadow.mScale.Set(SHADOW_SCALE * keep, SHADOW_SCALE * keep, 1.0f);
    mShadow.mTint.Set(keep, 1.0f, 1.0f, 1.0f);
}

void Player::TouchEntity(Entity& e)
{
    // A pickup that vanishes is spent: a runner knocked back across it must not
    // collect it again.
    if (e.mVanishOnTouch)
    {
        e.mOnScreen = false;
        e.mSolid = false;
    }
    if (e.mHoldable)
    {
        // The item dropped for the new one still pays out.
        if (mHeldItem)
            AddScore(mHeldItem->mScoreValue);
        mHeldItem = &e;
        return;
    }
    e.Touch(*this);
}

bool Player::IsCaught() const
{
    return gEnvironment.gDragonDistance >= mZ;
}

bool Player::HasReached(const Entity& e) const
{
    return mZ + mSpeed >= e.mZ;
}

void Player::Draw()
{
    Quad body = gCamera.ProjectBox(mX, mY, 2.0f * mHalfWidth, 2.0f * mHalfHeight, mZ);
    Quad shadow = gCamera.ProjectBox(mX, 1.0f, 2.0f * mHalfWidth, 2.0f * mHalfWidth, mZ - SHADOW_BEHIND);
    gGraphics.DrawFrame(mShadow, shadow);
    gGraphics.DrawAnimation(mAnimation, body);
}
