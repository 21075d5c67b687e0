#include "Entities/Scenery_Trigger.h"

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
    gBackground.StartFade(Get("ALPHA"), static_cast<int>(Get("FRAMES")));
    // Without a new frame the HUD keeps the one it has.
    const std::string hud = GetAttribute("HUDTEXTURE");
    if (!hud.empty())
        gOverlay.SetTexture(hud);
}
