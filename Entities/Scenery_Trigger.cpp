#include "Entities/Scenery_Trigger.h"

#include "Entities/Object_Setup.h"
#include "World/Background_Handler.h"
#include "World/Overlay.h"

void Scenery_Trigger::Setup()
{
    mHalfWidth = 0.5f;
    mHalfHeight = 0.5f;
}

void Scenery_Trigger::Touch(Player& player)
{
    mSolid = false;
    Entity::Touch(player);
    gBackground.SetOverlayCeiling(GetAttribute("CEILING"));
    gBackground.SetOverlayFloor(GetAttribute("FLOOR"));
    gBackground.SetOverlayWall(GetAttribute("WALL"));
    gBackground.StartFade(FloatAttribute(*this, "ALPHA", 1.0f),
                          static_cast<int>(FloatAttribute(*this, "FRAMES", 60.0f, FRAMES_RANGE)));
    // Without a new frame the HUD keeps the one it has.
    const std::string hud = GetAttribute("HUDTEXTURE");
    if (!hud.empty())
        gOverlay.SetTexture(hud);
}
