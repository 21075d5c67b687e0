#include "Entities/Spinner_Item.h"

#include <cstdlib>

#include "Core/Constants.h"
#include "Entities/Object_Setup.h"
#include "Graphics/Graphics.h"

namespace
{
const float ITEM_SPIN = 24.0f; // degrees a frame the item turns on its own

// Which way it turns: a draw from 0 to FLIP_DRAW - 1 at or below FLIP_BACK_UPTO turns
// it backward, a hair over half the time.
const int FLIP_DRAW = 5000;
const int FLIP_BACK_UPTO = 2500;

// Once touched, the view's turn speeds up by TURN_ACCEL a frame until it has turned
// EASE_FROM degrees, then slows by as much until it passes a whole turn.
const float TURN_ACCEL = 0.1f;
const float EASE_FROM = 185.0f;
} // namespace

Spinner_Item::Spinner_Item() : mTurnAngle(0.0f), mTurnRate(0.0f), mDirection(1.0f), mViewTurn(0.0f)
{
    mTouchSounds.push_back(SOUND_SPINNER);
    mTouchVoiceLines = {VOICE_CUT_THAT_OUT, VOICE_QUEASY, VOICE_QUIT_SPINNING};
}

void Spinner_Item::Setup()
{
    Animation_Set& set = AddSingleFrameSet(mModel, "ITEM_SPINNER");
    set.mSpeed = 1;
    set.mScale.Set(mSize, mSize, 0.0f);
    mModel.mRotation.Set(mModel.mRotation.mAngle, 0.0f, 0.0f, 1.0f);
    TakeHalfExtents(*this, "ITEM_SPINNER");
    Reset();
}

void Spinner_Item::Reset()
{
    mTurnAngle = 0.0f;
    mTurnRate = 0.0f;
    mViewTurn = 0.0f;
    mDirection = (rand() % FLIP_DRAW <= FLIP_BACK_UPTO) ? -1.0f : 1.0f;
    Entity::Reset();
}

void Spinner_Item::Touch(Player& player)
{
    Entity::Touch(player);
    mSolid = false;
}

bool Spinner_Item::Update(Player& player)
{
    mModel.mRotation.mAngle += mDirection * ITEM_SPIN;
    Entity::Update(player);
    if (mSolid)
        return mOnScreen;

    mTurnAngle += mTurnRate;
    if (mTurnAngle < EASE_FROM)
        mTurnRate += TURN_ACCEL;
    else
        mTurnRate -= TURN_ACCEL;

    // The view is rebuilt every frame, so the whole turn so far is applied anew.
    if (mTurnAngle > 360.0f)
    {
        TurnView((360.0f - mTurnAngle) * mDirection);
        return false;
    }
    TurnView(mTurnAngle * mDirection);
    return true;
}

void Spinner_Item::TurnView(float degrees)
{
    mViewTurn = degrees;
    gGraphics.RotateView(degrees);
}
