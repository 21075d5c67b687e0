#include "Entities/Treasure.h"

#include "Core/Constants.h"
#include "Entities/Object_Setup.h"

Treasure::Treasure()
{
    mVanishOnTouch = true;
    mTouchSounds.push_back(SOUND_MONEY);
}

void Treasure::Setup()
{
    const std::string key = GetAttribute("IMAGE");
    AddSingleFrameSet(mModel, key);
    TakeHalfExtents(*this, key);
    mScoreValue = static_cast<int32_t>(Get("VALUE"));
}
