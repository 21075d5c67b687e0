#include "World/Background_Handler.h"

#include <cstring>

#include "Audio/Sound_Manager.h"
#include "Core/Clock.h"
#include "Core/Constants.h"
#include "Core/Game_Speed.h"
#include "Core/Globals.h"
#include "Graphics/Graphics.h"
#include "World/Camera.h"

Background_Handler gBackground;

// Panic earthquakes: above this panic level the cave shakes about every PANIC_INTERVAL_MS.
static const float PANIC_THRESHOLD = 0.7f;
static const int32_t PANIC_INTERVAL_MS = 750;
static const int PANIC_QUAKE_FRAMES = 8;
static const float PANIC_QUAKE_STRENGTH = 50.0f;
// With flashing and shaking reduced, every earthquake rocks the cave this much of its
// full swing.
static const float REDUCED_QUAKE = 0.2f;

// The panic timer outlives levels: once armed it fires even if panic dropped meanwhile.
static bool sPanicArmed = false;
static int32_t sPanicFireTime = 0;

void Background_Handler::Init()
{
    SetLook(Look()); // the cave's own images, nothing faded in over them
    mTint[0] = mTint[1] = mTint[2] = mTint[3] = 1.0f;
    mShiftXStart = mShiftX = mShiftXTarget = 0.0f;
    mShiftYStart = mShiftY = mShiftYTarget = 0.0f;
    mShiftXStep = mShiftXFrames = 0.0f;
    mShiftYStep = mShiftYFrames = 0.0f;
    mQuakeActive = false;
    mQuakeFrames = 0;
    mQuakeStep = 0;
    mQuakeAmplitude = 0.0f;
}

void Background_Handler::Reset()
{
    Init();
    CentreShift(100);
}

void Background_Handler::SetTint(float r, float g, float b, float a)
{
    mTint[0] = r;
    mTint[1] = g;
    mTint[2] = b;
    mTint[3] = a;
}

void Background_Handler::StartEarthquake(int frames, float strength)
{
    mQuakeActive = true;
    mQuakeStep = 0;
    mQuakeFrames = frames;
    mQuakeAmplitude = strength * 0.1f * (gReduceFlashing ? REDUCED_QUAKE : 1.0f);
    gSound.PlayEffect(SOUND_EARTHQUAKE);
}

void Background_Handler::SetShiftX(float target, int frames)
{
    mShiftXStart = mShiftX;
    mShiftXFrames = static_cast<float>(frames);
    mShiftXTarget = target;
    mShiftXStep = 0.0f;
}

void Background_Handler::SetShiftY(float target, int frames)
{
    mShiftYStart = mShiftY;
    mShiftYFrames = static_cast<float>(frames);
    mShiftYTarget = target;
    mShiftYStep = 0.0f;
}

void Background_Handler::CentreShift(int frames)
{
    SetShiftX(0.0f, frames);
    SetShiftY(0.0f, frames);
}

void Background_Handler::StartFade(float alpha, int frames)
{
    // Asking again for the fade already under way must not restart it.
    if (alpha == mFadeTarget && static_cast<float>(frames) == mFadeFrames)
        return;
    mFadeStart = mFadeAlpha;
    mFadeFrames = static_cast<float>(frames);
    mFadeTarget = alpha;
    mFadeStep = 0.0f;
}

Background_Handler::Look Background_Handler::GetLook() const
{
    return Look{mCeiling,   mFloor,     mWall,       mOverlayCeiling, mOverlayFloor, mOverlayWall,
                mFadeStart, mFadeAlpha, mFadeTarget, mFadeStep,       mFadeFrames};
}

void Background_Handler::SetLook(const Look& look)
{
    mCeiling = look.mCeiling;
    mFloor = look.mFloor;
    mWall = look.mWall;
    mOverlayCeiling = look.mOverlayCeiling;
    mOverlayFloor = look.mOverlayFloor;
    mOverlayWall = look.mOverlayWall;
    mFadeStart = look.mFadeStart;
    mFadeAlpha = look.mFadeAlpha;
    mFadeTarget = look.mFadeTarget;
    mFadeStep = look.mFadeStep;
    mFadeFrames = look.mFadeFrames;
}

void Background_Handler::Update(float panic)
{
    if (mFadeFrames > mFadeStep)
    {
        mFadeAlpha = mFadeStart + (mFadeTarget - mFadeStart) * mFadeStep / mFadeFrames;
        mFadeStep += 1.0f;
    }
    if (mShiftXFrames > mShiftXStep)
    {
        mShiftX = mShiftXStart + (mShiftXTarget - mShiftXStart) * mShiftXStep / mShiftXFrames;
        mShiftXStep += 1.0f;
    }
    if (mShiftYFrames > mShiftYStep)
    {
        mShiftY = mShiftYStart + (mShiftYTarget - mShiftYStart) * mShiftYStep / mShiftYFrames;
        mShiftYStep += 1.0f;
    }

    if (mQuakeActive)
    {
        if (mQuakeStep % 2 == 0)
            mShiftX += mQuakeAmplitude;
        else
            mShiftX -= mQuakeAmplitude;
        ++mQuakeStep;
        if (mQuakeStep > mQuakeFrames)
        {
            // The last jolt is taken back so the quake leaves the shift where it found it.
            if (mQuakeStep % 2 != 0)
                mShiftX -= mQuakeAmplitude;
            mQuakeActive = false;
        }
    }

    gCamera.Reset();
    gCamera.ShiftFarFrameX(mShiftX);
    gCamera.ShiftFarFrameY(mShiftY);

    if (panic > PANIC_THRESHOLD)
    {
        if (!sPanicArmed)
        {
            sPanicFireTime = ClockMs() + gGameSpeed.Stretch(PANIC_INTERVAL_MS); // the dragon's pace
            sPanicArmed = true;
        }
        if (ClockMs() > sPanicFireTime)
        {
            StartEarthquake(PANIC_QUAKE_FRAMES, PANIC_QUAKE_STRENGTH);
            sPanicArmed = false;
        }
    }
}

void Background_Handler::Draw()
{
    // A look fades in over the default one and then stays, one step short of opaque.
    // Each face draws both layers in one pass where it can (a single screen of fill
    // where one software core cannot afford two); the hurt flash's see-through tint
    // still needs two.
    gGraphics.PushColour(mTint[3], mTint[0], mTint[1], mTint[2]);
    if (!mOverlayCeiling.empty() && mOverlayCeiling != "NONE")
        DrawCorridor(mCeiling, mFloor, mWall, &mOverlayCeiling, &mOverlayFloor, &mOverlayWall);
    else
        DrawCorridor(mCeiling, mFloor, mWall);
    gGraphics.PopColour();

    mTint[0] = mTint[1] = mTint[2] = mTint[3] = 1.0f;
}

static void SetCorners(Quad& q, const float* topLeft, const float* bottomLeft, const float* bottomRight,
                       const float* topRight)
{
    std::memcpy(q.mTopLeft, topLeft, sizeof q.mTopLeft);
    std::memcpy(q.mBottomLeft, bottomLeft, sizeof q.mBottomLeft);
    std::memcpy(q.mBottomRight, bottomRight, sizeof q.mBottomRight);
    std::memcpy(q.mTopRight, topRight, sizeof q.mTopRight);
}

void Background_Handler::DrawFace(const Quad& quad, const Texture_Rect& rect, const std::string& key,
                                  const std::string* over)
{
    if (over && gGraphics.DrawCrossfadeQuad(quad, rect, key, *over, mFadeAlpha, mFadeStep >= mFadeFrames))
        return;
    gGraphics.DrawTexturedQuad(quad, rect, key);
    if (over)
    {
        gGraphics.PushColour(mFadeAlpha, mTint[0], mTint[1], mTint[2]);
        gGraphics.DrawTexturedQuad(quad, rect, *over);
        gGraphics.PopColour();
    }
}

void Background_Handler::DrawCorridor(const std::string& ceiling, const std::string& floor,
                                      const std::string& wall, const std::string* overCeiling,
                                      const std::string* overFloor, const std::string* overWall)
{
    const Quad nearQ = gCamera.GetNearQuad();
    const Quad farQ = gCamera.GetFarQuad();
    const float texNear = gCamera.GetTextureNear();
    const float texFar = gCamera.GetTextureFar();

    Quad q;
    SetCorners(q, farQ.mBottomLeft, nearQ.mBottomLeft, nearQ.mBottomRight, farQ.mBottomRight);
    DrawFace(q, Texture_Rect(0.0f, texFar, 1.0f, texNear), floor, overFloor);

    SetCorners(q, nearQ.mTopLeft, farQ.mTopLeft, farQ.mTopRight, nearQ.mTopRight);
    DrawFace(q, Texture_Rect(0.0f, texNear, 1.0f, texFar), ceiling, overCeiling);

    SetCorners(q, nearQ.mTopLeft, nearQ.mBottomLeft, farQ.mBottomLeft, farQ.mTopLeft);
    DrawFace(q, Texture_Rect(texNear, 0.0f, texFar, 1.0f), wall, overWall);

    SetCorners(q, farQ.mTopRight, farQ.mBottomRight, nearQ.mBottomRight, nearQ.mTopRight);
    DrawFace(q, Texture_Rect(texFar, 0.0f, texNear, 1.0f), wall, overWall);
}
