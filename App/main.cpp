// Start-up, the frame loop of play and shutdown. Every screen (menus, story, pause)
// runs inside Game_State::ProcessMenus; this loop is play itself.
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"
#include "Core/Game_Speed.h"
#include "Core/Game_Timer.h"
#include "App/Loading_Screen.h"
#include "App/Main_Loop.h"
#include "Core/Timing_Report.h"
#include "Entities/Player.h"
#include "Game/Game_State.h"
#include "Game/Settings.h"
#include "Game/HUD.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Background_Handler.h"
#include "World/Camera.h"
#include "World/Environment_Handler.h"

#ifndef ZQ_FULLSCREEN
#define ZQ_FULLSCREEN 0
#endif

// Developer switch: the old tutorial run-in, shown once from the main loop.
bool gShowTutorial = false;

namespace
{

struct Fading_Line
{
    float mDepth;
    float mAlpha;
};

void DrawTutorialLine(const char* text, float fx, float fy, float scale, const Fading_Line& line)
{
    const float oldScale = gFont.GetScale();
    gFont.SetScale(scale);
    gFont.drawStringNormalized(text, fx, fy, line.mDepth, 1.0f, 1.0f, 1.0f, line.mAlpha);
    gFont.SetScale(oldScale);
}

// Brings the stage's hint nearer, or the title once both are done; true when the title
// has passed the viewer and the run-in is over.
bool DrawTutorialStage(int stage, Fading_Line& moveHint, Fading_Line& jumpHint, Fading_Line& title)
{
    Fading_Line* hint = stage == 0 ? &moveHint : stage == 1 ? &jumpHint : nullptr;
    if (hint)
    {
        hint->mDepth = std::min(hint->mDepth + 0.03f, 1.0f);
        hint->mAlpha += 0.016f;
        if (stage == 0)
            DrawTutorialLine("Move with arrow keys", 0.37f, 0.4f, 0.5f, moveHint);
        else
            DrawTutorialLine("Jump with spacebar", 0.38f, 0.4f, 0.5f, jumpHint);
        return false;
    }
    title.mDepth += 0.05f;
    title.mAlpha += 0.016f;
    DrawTutorialLine(GAME_TITLE, 0.1f, 0.5f, 3.0f, title);
    if (title.mDepth <= 2.0f)
        return false;
    gPlayer.mZ = Player::START_Z;
    gBackground.StartEarthquake(200, 2.0f);
    return true;
}

// The runner on the spot while two hints and the title drift towards the viewer.
// False when the user asked to quit.
bool RunTutorial()
{
    Fading_Line moveHint = {-1.0f, 0.0f};
    Fading_Line jumpHint = {-1.0f, 0.0f};
    Fading_Line title = {-5.0f, 0.0f};
    int stage = 0;
    float position = 0.0f;

    for (;;)
    {
        gTimer.StartFrame();
        if (!gInput.Update())
            return false;

        gPlayer.mZ = 0.0f;
        gPlayer.Update(gInput);
        position += 1.0f;
        gCamera.SetPosition(position);
        gBackground.Update(gHUD.Panic());
        gGraphics.BeginWorld();
        gBackground.Draw();
        gGraphics.DrawAnimation(gPlayer.mAnimation,
                                gCamera.ProjectBox(gPlayer.mX, gPlayer.mY, 2.0f * gPlayer.mHalfWidth,
                                                   2.0f * gPlayer.mHalfHeight, position));
        gGraphics.EndWorld();

        if (stage == 0 && (gInput.IsKeyPressed(KEY_LEFT) || gInput.IsKeyPressed(KEY_RIGHT)))
            stage = 1;
        else if (stage == 1 && gInput.IsKeyPressed(KEY_SPACE))
            stage = 2;

        const bool done = DrawTutorialStage(stage, moveHint, jumpHint, title);
        gGraphics.Render();
        gTimer.EndFrame();
        gTimer.WaitForFrame();
        if (done)
            return true;
    }
}

void Shutdown()
{
    FinishKeepingSettings();
    gGraphics.Shutdown();
    gSound.Shutdown();
    Input_Handler::StopSdl();
}

// Settings, SDL, input, the window, the waking voice, the images behind the loading
// screen and the set-up of play. False when the game ends here, with its exit code.
bool StartUp(int& exitCode)
{
    gSound.Init();
    const std::string settingsPath = SettingsPath();
    Settings settings = LoadSettings(settingsPath);
    ApplySettings(settings);

    std::srand(static_cast<unsigned>(std::time(nullptr)));
    gTimer.SetFps(TARGET_FPS);
    Input_Handler::InstallQuitSignals();
    gInput.AskForGamepad(settings.mGamepad);
    gInput.Init(0, SCREEN_WIDTH);
    // F11 and Alt+Enter, on every screen.
    gInput.SetFullScreenToggle([] { gGraphics.SetFullScreen(!gGraphics.IsFullScreen()); });
    gInput.SetWindowResize([](int width, int height) { gGraphics.ResizeWindow(width, height); });
    if (!gGraphics.Init(ZQ_FULLSCREEN != 0 || settings.mFullScreen, settings.mWindowWidth,
                        settings.mWindowHeight))
    {
        // Graphics has said why on standard error; without a window there is no game.
        gSound.Shutdown();
        Input_Handler::StopSdl();
        exitCode = 1;
        return false;
    }
    // The full-screen build starts full screen whatever was kept; only a switch made
    // while playing is written back.
    settings.mFullScreen = gGraphics.IsFullScreen();
    settings.mWindowWidth = gGraphics.GetWindowedWidth();
    settings.mWindowHeight = gGraphics.GetWindowedHeight();
    gInput.SetMouseRangeSource(PictureAcross);
    StartKeepingSettings(settingsPath, settings);
    gEnvironment.Init();
    gSound.PlayVoice(VOICE_WAKE_UP);

    if (!gImageBank.Init(LoadingScreenCallback))
    {
        Shutdown();
        exitCode = 0;
        return false;
    }

    gSound.PlayMusic(MUSIC_LEVEL);
    gGameState.Init();
    SetUpPlay();
    return true;
}

// One frame: the screens, the tutorial once if asked for, then a frame of play.
// False when the game is to end at once.
bool RunFrame()
{
    TimingReportStart();
    gTimer.StartFrame();

    // A slower game: in the frames where play takes no step, the world is drawn as
    // it stands. Input waits for the next step, so no key press falls between.
    if (!gGameState.GetScreen() && !gGameSpeed.TakeStep())
    {
        DrawPlay();
        gGraphics.Render();
        gTimer.EndFrame();
        gTimer.WaitForFrame();
        return true;
    }

    if (!gInput.Update())
    {
        // Ctrl+C, kill or a logout end the game as quitting from the menu does.
        if (Input_Handler::QuitSignalled())
            return false;
        gGameState.EnterPause();
    }
    TimingReportLine("Updated input");

    gGameState.ProcessMenus(gTimer);
    TimingReportLine("Processed menus");
    if (gGameState.IsQuitting() && !gGameState.GetScreen())
        return false;

    if (gShowTutorial)
    {
        if (!RunTutorial())
        {
            if (Input_Handler::QuitSignalled())
                return false;
            gGameState.EnterPause();
        }
        gShowTutorial = false;
    }

    UpdatePlay();
    DrawPlay();
    gGraphics.Render();
    TimingReportLine("Render");
    TimingReportEnd();

    if (gTimer.GetFps() < LOW_FPS_WARNING)
        std::cout << "FPS: " << gTimer.GetFps() << std::endl;

    gTimer.EndFrame();
    gTimer.WaitForFrame();
    return true;
}

} // namespace

int main(int, char**)
{
    int exitCode = 0;
    if (!StartUp(exitCode))
        return exitCode;
    while ((!gGameState.IsQuitting() || gGameState.GetScreen()) && RunFrame())
    {
    }
    Shutdown();
    return 0;
}
