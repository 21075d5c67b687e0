#include "Entities/Stalactite.h"

#include "Core/Constants.h"
#include "Entities/Knock.h"
#include "Entities/Object_Setup.h"

void Stalactite::Setup()
{
    mTouchSounds.push_back(SOUND_MONSTER_HIT);
    AddSingleFrameSet(mModel, "STALACTITE");
    // Its extents carry the size already; the collision box scales by it once more.
    TakeHalfExtents(*this, "STALACTITE");
    mHalfWidth *= mSize;
    mHalfHeight *= mSize;
}

void Stalactite::Touch(Player& player)
{
    Knock(*this, player, 0.0f);
}
