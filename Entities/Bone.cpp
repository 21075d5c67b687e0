#include "Entities/Bone.h"

#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"
#include "Entities/Object_Setup.h"

Bone::Bone()
{
    mScoreValue = 10;
    mHoldable = true;
    mVanishOnTouch = true;
    mTouchSounds.push_back(SOUND_GOOD_TONE);
    mTouchVoiceLines = {VOICE_HEY_SNACKIE, VOICE_DOWN_RIGHT};
}

void Bone::Setup()
{
    AddSingleFrameSet(mModel, "BONE");
    TakeHalfExtents(*this, "BONE");
}

void Bone::Use(Player& player)
{
    Entity::Use(player);
    gSound.PlayRandomEffect(mUseSounds);
    mHoldable = false; // the runner lets go of it next frame
}

void Bone::Reset()
{
    Entity::Reset();
    mHoldable = true;
}
