#include "Core/Main_Loop.h"

#include "Core/Developer_Keys.h"
#include "Core/Timing_Report.h"
#include "Core/World_Drawing.h"
#include "Entities/Collision.h"
#include "Entities/Player.h"
#include "Game/Game_State.h"
#include "Game/HUD.h"
#include "Input/Input_Handler.h"
#include "World/Background_Handler.h"
#include "World/Camera.h"
#include "World/Entity_Handler.h"
#include "World/Environment_Handler.h"
#include "World/Floating_Text.h"

void UpdatePlay()
{
    gPlayer.Update(gInput);
    if (gTimingReport)
        TimingReportLine("Player updated");

    gEnvironment.Update();
    gCamera.SetPosition(gPlayer.mZ);
    if (gTimingReport)
        TimingReportLine("Environment Handler updated.");

    DeveloperKeys(gInput);
    FogFade(gGameState.GetPlayerProgress());

    gEntities.Update(gPlayer);
    if (gTimingReport)
        TimingReportLine("Entity Handler updated");

    if (gPlayer.mCollidable) {
        CheckCollisions(gPlayer, gEntities.GetFirstOnScreen(), gEntities.GetLastOnScreen());
        if (gTimingReport)
            TimingReportLine("Collisions checked");
    }

    gBackground.Update();
    if (gTimingReport)
        TimingReportLine("Background handler updated");

    gHUD.Update(gPlayer.mScore, gGameState.GetDragonProgress(), gPlayer.mHeldItem,
                gGameState.GetPlayerProgress(), gPlayer.mZ, gEnvironment.gDragonDistance);
    if (gTimingReport)
        TimingReportLine("Updated HUD");
}

void DrawPlay()
{
    DrawWorld();
    if (gTimingReport)
        TimingReportLine("DrawWorld().");

    gFloatingTexts.UpdateAndDraw();
}
