#include "App/Main_Loop.h"

#include "Audio/Sound_Manager.h"
#include "App/Developer_Keys.h"
#include "Core/Timing_Report.h"
#include "Game/World_Drawing.h"
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

Fog_Fade gFogFade; // for the whole run: a level fades from the fog it last kept

const int GAME_KEYS[] = {KEY_M,  KEY_K,    KEY_O,     KEY_B,     KEY_P,       KEY_RETURN,   KEY_DOWN,
                         KEY_UP, KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_KP_PLUS, KEY_KP_MINUS, KEY_F,
                         KEY_S,  KEY_E,    KEY_D,     KEY_W,     KEY_G};

// The HUD follows the runner and the dragon; what it asks of the sound and the backdrop
// is done at once, in the order it asks.
void UpdateHud()
{
    HUD::Play_State play;
    play.score = gPlayer.mScore;
    play.heldItem = gPlayer.mHeldItem;
    play.runnerX = gPlayer.mX;
    play.runnerY = gPlayer.mY;
    play.runnerHit = gPlayer.mHitThisFrame;
    play.playerProgress = gGameState.GetPlayerProgress();
    play.dragonProgress = gGameState.GetDragonProgress();
    play.playerDistance = gPlayer.mZ;
    play.dragonDistance = gEnvironment.gDragonDistance;
    const HUD::Requests asked = gHUD.Update(play);

    gSound.SetVoiceLevel(asked.voiceLevel);
    gSound.Update();
    if (asked.attackVoice)
        gSound.PlayRandomVoice(gEnvironment.mAttackLines);
    if (asked.quakeFrames > 0)
        gBackground.StartEarthquake(asked.quakeFrames, asked.quakeStrength);
}

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
    gCamera.Init(0.0f, 1000.0f, 0.0f, 1.0f, 1000.0f);
    gGraphics.EnableFog();
    gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);
    gGraphics.SetFogParameters(CAVE_FOG);
}

void UpdatePlay()
{
    gPlayer.Update(gInput);
    TimingReportLine("Player updated");

    gEnvironment.Update();
    gCamera.SetPosition(gPlayer.mZ);
    TimingReportLine("Environment Handler updated.");

    DeveloperKeys(gInput);
    gFogFade.Update(gGameState.GetPlayerProgress());

    gEntities.Update(gPlayer);
    TimingReportLine("Entity Handler updated");

    if (gPlayer.mCollidable)
    {
        CheckCollisions(gPlayer, gEntities.GetFirstOnScreen(), gEntities.GetLastOnScreen());
        TimingReportLine("Collisions checked");
    }

    gBackground.Update(gHUD.Panic());
    TimingReportLine("Background handler updated");

    UpdateHud();
    TimingReportLine("Updated HUD");
    KeepSettings();
}

void DrawPlay()
{
    DrawWorld();
    TimingReportLine("DrawWorld().");

    gFloatingTexts.UpdateAndDraw();
}
