#include "Entities/Spinner_Item.h"

#include <cstdlib>

#include "Core/Constants.h"
#include "Entities/Object_Setup.h"
#include "Graphics/Graphics.h"

Spinner_Item::Spinner_Item() : mTurnAngle(0.0f), mTurnRate(0.0f), mDirection(1.0f), mViewTurn(0.0f)
{
    mTouchSounds.push_back(SOUND_SPINNER);
    mTouchVoiceLines.push_back(VOICE_CUT_THAT_OUT);
    mTouchVoiceLines.push_back(VOICE_QUEASY);
    mTouchVoiceLines.push_back(VOICE_QUIT_SPINNING);
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
    mDirection = (rand() % 5000 <= 2500) ? -1.0f : 1.0f;
    Entity::Reset();
}

void Spinner_Item::Touch(Player& player)
{
    Entity::Touch(player);
    mSolid = false;
}

bool Spinner_Item::Update(Player& player)
{
    mModel.mRotation.mAngle += mDirection * 24.0f;
    Entity::Update(player);
    if (mSolid)
        return mOnScreen;

    mTurnAngle += mTurnRate;
    if (mTurnAngle < 185.0f)
        mTurnRate += 0.1f;
    else
        mTurnRate -= 0.1f;

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
