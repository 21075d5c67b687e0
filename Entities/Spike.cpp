#include "Entities/Spike.h"

#include <iostream>

#include "Core/Constants.h"
#include "Entities/Knock.h"
#include "Entities/Object_Setup.h"

namespace
{
const float KNOCK_BACK = 0.4f; // times the runner's speed: slowed, still going forward
} // namespace

void Spike::Setup()
{
    mTouchSounds.push_back(SOUND_MONSTER_HIT);

    const std::string placement = HasAttribute("PLACEMENT") ? GetAttribute("PLACEMENT") : "";
    std::string key;
    if (placement == "floor")
        key = "SPIKE";
    else if (placement == "left")
        key = "LEFTSPIKE";
    else if (placement == "right")
        key = "RIGHTSPIKE";
    else
    {
        // A spike without a frame would have no size; the floor spike keeps it playable.
        std::cout << "Spike: unknown PLACEMENT '" << placement << "', using the floor spike." << std::endl;
        key = "SPIKE";
    }
    AddSingleFrameSet(mModel, key);
    TakeHalfExtents(*this, key);
}

void Spike::Touch(Player& player)
{
    Knock(*this, player, KNOCK_BACK * player.mSpeed);
}
