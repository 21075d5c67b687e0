#include "Entities/Torch.h"

#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"
#include "Entities/Object_Setup.h"
#include "Graphics/Graphics.h"

namespace
{
const int LIGHT_FRAMES = 450; // frames the torch keeps the fog back
const int WARN_FRAME = 400;   // the wind warns that the light is about to go
} // namespace

Torch::Torch() : mSavedDensity(0.0f), mSavedStart(0.0f), mSavedEnd(0.0f)
{
    Reset();
    mVanishOnTouch = true;
    mTouchSounds.push_back(SOUND_FIRE);
}

void Torch::Setup()
{
    Animation_Set flame;
    for (const char* key : {"TORCH_0", "TORCH_1", "TORCH_2"})
        flame.mFrames.push_back(Animation_Frame(key));
    flame.mLoop = true;
    mModel.mSets.push_back(flame);
    mModel.mSets.resize(3);
    TakeHalfExtents(*this, "TORCH_0");
}

void Torch::Touch(Player& player)
{
    Entity::Touch(player);
    mSolid = false;
    // What is in force now comes back when the light goes out.
    mSavedDensity = gGraphics.GetFogDensity();
    mSavedStart = gGraphics.GetFogStart();
    mSavedEnd = gGraphics.GetFogEnd();
    gGraphics.SetFogParameters(CAVE_FOG);
}

bool Torch::Update(Player& player)
{
    Entity::Update(player);
    if (mSolid)
        return mOnScreen;
    if (mCount >= mDuration)
    {
        gGraphics.SetFogParameters(mSavedDensity, mSavedStart, mSavedEnd);
        return false;
    }
    gGraphics.SetFogParameters(CAVE_FOG);
    if (mCount == WARN_FRAME)
        gSound.PlayEffect(SOUND_WIND);
    ++mCount;
    return true;
}

void Torch::Reset()
{
    Entity::Reset();
    mCount = 0;
    mDuration = LIGHT_FRAMES;
}
