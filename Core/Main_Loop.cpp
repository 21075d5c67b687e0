#include "Core/Main_Loop.h"

#include "Core/Developer_Keys.h"
#include "Core/Timing_Report.h"
#include "Core/World_Drawing.h"
#include "Entities/Collision.h"
#include "Entities/Player.h"
#include "Game/Game_State.h"
#include "Game/HUD.h"
#include "Game/Settings.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Background_Handler.h"
#include "World/Camera.h"
#include "World/Entity_Handler.h"
#include "World/Environment_Handler.h"
#include "World/Floating_Text.h"

namespace
{

const int GAME_KEYS[] = {KEY_M,  KEY_K,    KEY_O,     KEY_B,     KEY_P,       KEY_RETURN,   KEY_DOWN,
                         KEY_UP, KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_KP_PLUS, KEY_KP_MINUS, KEY_F,
                         KEY_S,  KEY_E,    KEY_D,     KEY_W,     KEY_G};

} // namespace

void SetUpPlay()
{
    gEntities.ResetWindow();
    gPlayer.Init();
    for (int key : GAME_KEYS)
        gInput.RegisterKey(key);
    gFont.Init();
    gHUD.Init();
    gBackground.Init();
    gBackground.SetCeiling("CEILING");
    gBackground.SetFloor("FLOOR");
    gBackground.SetWall("WALL");
    gCamera.Init(0.0f, 1000.0f, 0.0f, 1.0f, 1000.0f);
    gGraphics.EnableFog();
    gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);
    gGraphics.SetFogParameters(CAVE_FOG);
}

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

    if (gPlayer.mCollidable)
    {
        CheckCollisions(gPlayer, gEntities.GetFirstOnScreen(), gEntities.GetLastOnScreen());
        if (gTimingReport)
            TimingReportLine("Collisions checked");
    }

    gBackground.Update(gHUD.mPanic);
    if (gTimingReport)
        TimingReportLine("Background handler updated");

    gHUD.Update(gPlayer.mScore, gGameState.GetDragonProgress(), gPlayer.mHeldItem,
                gGameState.GetPlayerProgress(), gPlayer.mZ, gEnvironment.gDragonDistance);
    if (gTimingReport)
        TimingReportLine("Updated HUD");
    KeepSettings();
}

void DrawPlay()
{
    DrawWorld();
    if (gTimingReport)
        TimingReportLine("DrawWorld().");

    gFloatingTexts.UpdateAndDraw();
}
