#include "Entities/Scenery_Trigger.h"

#include "Game/HUD.h"
#include "World/Background_Handler.h"

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
    gBackground.StartFade(ParseFloat(GetAttribute("ALPHA")),
                          static_cast<int>(ParseFloat(GetAttribute("FRAMES"))));
    gHUD.SetTexture(GetAttribute("HUDTEXTURE"));
}
