#include "Entities/Cloak_Item.h"

#include "Core/Constants.h"
#include "Entities/Object_Setup.h"
#include "Entities/Player.h"

namespace
{
const float CLOAK_FRAMES = 300.0f; // frames the wearer passes through everything
} // namespace

Cloak_Item::Cloak_Item()
{
    Reset();
    mTouchSounds.push_back(SOUND_SPARKLE);
    mTouchVoiceLines = {VOICE_WHERED_HE_GO, VOICE_WHAT_THE_CRAP};
}

void Cloak_Item::Setup()
{
    Animation_Set& set = AddSingleFrameSet(mModel, "CLOAK");
    set.mFrames[0].mTint.Set(0.5f, 1.0f, 1.0f, 1.0f);
    TakeHalfExtents(*this, "CLOAK");
}

void Cloak_Item::Touch(Player& player)
{
    Entity::Touch(player);
    mSolid = false;
    player.mCollidable = false;
    player.mAnimation.mTint.Set(0.25f, 0.5f, 1.0f, 0.5f);
    mWearer = &player;
}

bool Cloak_Item::Update(Player& player)
{
    Entity::Update(player);
    if (mSolid)
        return mOnScreen;
    if (mTimer < 0.0f)
    {
        if (mWearer)
        {
            mWearer->mCollidable = true;
            mWearer->mAnimation.mTint.Set(1.0f, 1.0f, 1.0f, 1.0f);
            mWearer->mAnimation.mTint.mEnabled = false;
        }
        return false;
    }
    mTimer -= 1.0f;
    return true;
}

void Cloak_Item::Reset()
{
    mTimer = CLOAK_FRAMES;
    mWearer = nullptr;
    mScoreValue = 0;
    mHoldable = false;
    mVanishOnTouch = true;
    Entity::Reset();
}
