#include "Game/World_Drawing.h"

#include "Core/Globals.h"
#include "Core/Timing_Report.h"
#include "Entities/Player.h"
#include "Game/HUD.h"
#include "Graphics/Graphics.h"
#include "World/Background_Handler.h"
#include "World/Entity_Handler.h"

void DrawWorld(bool withRunner)
{
    gGraphics.BeginWorld();
    gBackground.Draw();
    TimingReportLine("Background drawn");
    gEntities.DrawEntities(withRunner ? &gPlayer : nullptr);
    TimingReportLine("Entities drawn");
    gGraphics.EndWorld();
    gHUD.Draw();
    gHUD.ClawSeen();
    // A hit reddens the backdrop as well; it is drawn already, so from the next frame.
    // With flashing reduced the red is mixed in, so the picture keeps its brightness.
    const float flash = gHUD.HurtFlash();
    if (flash > 0.0f && gReduceFlashing)
        gBackground.SetTint(1.0f, 1.0f - flash, 1.0f - flash, 1.0f);
    else if (flash > 0.0f)
        gBackground.SetTint(1.0f, 0.0f, 0.0f, flash);
    TimingReportLine("Drew HUD");
}

bool WorldIsStill()
{
    return gHUD.IsStill() && gHUD.HurtFlash() <= 0.0f && gEntities.OverlaysStill();
}
