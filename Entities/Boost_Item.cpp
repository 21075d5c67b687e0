#include "Entities/Boost_Item.h"

#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"
#include "Entities/Object_Setup.h"
#include "Entities/Player.h"

namespace
{
const float BOOST_FRAMES = 100.0f; // frames of boost while held
} // namespace

Boost_Item::Boost_Item()
{
    Reset();
    mVanishOnTouch = true;
    mTouchSounds.push_back(SOUND_GOOD_TONE);
    mTouchVoiceLines = {VOICE_COME_BACK, VOICE_FAST_FOOD};
}

void Boost_Item::Setup()
{
    Animation_Set& set = AddSingleFrameSet(mModel, "ITEM_BOOST");
    set.mScale.Set(mSize, mSize, 0.0f);
    TakeHalfExtents(*this, "ITEM_BOOST");
}

void Boost_Item::Use(Player& player)
{
    if (!mUseSoundPlayed)
    {
        mUseSoundPlayed = true;
        gSound.PlayRandomEffect(mUseSounds);
    }
    Entity::Use(player);
    if (player.mSpeed < BOOST_SPEED)
        player.SetSpeed(BOOST_SPEED);
    if (mTimer > 0.0f)
        mTimer -= 1.0f;
    else
    {
        player.SetSpeed(1.0f);
        mHoldable = false; // used up
    }
}

void Boost_Item::Reset()
{
    Entity::Reset();
    mTimer = BOOST_FRAMES;
    mUseSoundPlayed = false;
    mHoldable = true;
}
