#include "Game/Game_State.h"

#include <iostream>

#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"
#include "Core/Game_Timer.h"
#include "Entities/Player.h"
#include "Game/HUD.h"
#include "Game/Settings.h"
#include "Game/Trace.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "Level/Level_Loader.h"
#include "World/Background_Handler.h"
#include "World/Camera.h"
#include "World/Entity_Handler.h"
#include "World/Environment_Handler.h"
#include "World/Floating_Text.h"

Game_State gGameState;

namespace
{
const float BACKDROP_Z = -0.7f;
const int MENU_REDRAW_FRAMES = 60;
// As the trace names them, by Game_State::Screen.
const char* const SCREEN_NAMES[] = {"play",          "TeamLogoScreen",      "MainMenuScreen",
                                    "IntroScreen",   "CreditsScreen",       "PauseScreen",
                                    "DeathScreen",   "LevelCompleteScreen", "CaveMapScreen",
                                    "ResultsScreen", "HighScoreScreen",     "OptionsScreen"};
} // namespace

void Game_State::Init()
{
    mLevel = 0;
    mQuit = false;
    mBackAsked = false;
    GoTo(TEAM_LOGO, "TEAM_LOGO");
    mArt.Init();
    for (Game_Screen* screen : mScreens)
        if (screen)
            screen->Init();
}

void Game_State::GoTo(Screen screen, const char* backdrop)
{
    if (screen != mScreen)
        TraceScreen(SCREEN_NAMES[screen]);
    mScreen = screen;
    if (backdrop != KEEP_BACKDROP)
        SetBackdrop(backdrop);
}

void Game_State::Quit()
{
    mQuit = true;
    GoTo(PLAY, KEEP_BACKDROP);
}

bool Game_State::IsQuitting() const
{
    return mQuit || Input_Handler::QuitSignalled();
}

void Game_State::SetBackdrop(const std::string& key)
{
    if (key == "NONE")
        mBackdrop = Animation_Frame();
    else
        mBackdrop.SetImage(key);
}

void Game_State::ProcessMenus(Game_Timer& timer)
{
    if (mScreen == PLAY)
        CheckPlayTransitions();

    gGraphics.PushColour(1.0f, 1.0f, 1.0f, 1.0f);
    while (mScreen != PLAY)
        RunScreenFrame(timer);
    // Play draws over whatever the menu left standing.
    mDrawnBy = nullptr;
    // The logo screen pops the colour itself when it hands over.
    if (gGraphics.GetColourDepth() > 0)
        gGraphics.PopColour();
    gGraphics.EnableFog();
}

void Game_State::RunScreenFrame(Game_Timer& timer)
{
    timer.StartFrame();
    mBackAsked = !gInput.Update();
    // A quit signal ends the program from any screen, like the main menu's quit.
    if (mBackAsked && Input_Handler::QuitSignalled())
        Quit();
    RunScreen();
    KeepSettings();

    gSound.Update();
    if (!mSkipRender)
    {
        gFloatingTexts.UpdateAndDraw();
        gGraphics.Render();
    }
    timer.EndFrame();
    timer.WaitForFrame();
}

void Game_State::RunScreen()
{
    // Both are taken every frame so neither is left pending for later.
    const bool exposed = gInput.TakeExposed();
    mPictureLost = gGraphics.TakePictureLost() || exposed || mPictureLost;
    ++mFramesSinceDraw;

    Game_Screen* const screen = mScreens[mScreen];
    Game_Screen::Stand stand = screen ? PictureStands(*screen) : Game_Screen::REDRAWN;
    if (stand == Game_Screen::STANDS_BEHIND && !gGraphics.DrawKeptPicture())
        stand = Game_Screen::REDRAWN;
    mSkipRender = stand == Game_Screen::STANDS;
    if (stand == Game_Screen::REDRAWN)
    {
        // The window shows this frame's picture from now on.
        mDrawnBy = screen;
        mKept = false;
        mPictureLost = false;
        mFramesSinceDraw = 0;
        if (mBackdrop.mKey != "NONE")
            gGraphics.DrawFrameAt(mBackdrop, 0.0f, 0.0f, BACKDROP_Z);
    }
    if (screen)
        screen->Frame(stand != Game_Screen::REDRAWN);
}

void Game_State::KeepPicture()
{
    mKept = gGraphics.KeepPicture();
}

Game_Screen::Stand Game_State::PictureStands(const Game_Screen& screen) const
{
    const Game_Screen::Stand stand = &screen == mDrawnBy ? screen.PictureStands() : Game_Screen::REDRAWN;
    // A copy stands in for the picture whatever became of the window.
    if (stand == Game_Screen::STANDS_BEHIND)
        return mKept ? stand : Game_Screen::REDRAWN;
    // Anything drifting over the picture moves on every frame.
    if (mPictureLost || gFloatingTexts.Count() > 0 || mFramesSinceDraw >= MENU_REDRAW_FRAMES)
        return Game_Screen::REDRAWN;
    return stand;
}

void Game_State::CheckPlayTransitions()
{
    if (gEntities.IsLevelPassed())
    {
        GoTo(LEVEL_COMPLETE, "NONE");
    }
    else if (gPlayer.IsCaught())
    {
        gHUD.Hide();
        GoTo(DEATH, "NONE");
    }
    // A pause wins; the level end or the catch is found again when play resumes.
    if (gInput.IsKeyPressed(gKeys.mPause))
        GoTo(PAUSE, "NONE");
}

void Game_State::EnterPause()
{
    GoTo(PAUSE, "NONE");
}

void Game_State::StartLevel(bool restart)
{
    gSound.PlayMusic(mLevel == CREDITS_LEVEL ? MUSIC_CREDITS : MUSIC_LEVEL);
    gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);
    if (!restart)
        gPlayer.mLevelStartScore = gPlayer.mScore;
    ResetLevel(restart);
    gBackground.StartEarthquake(100, 10.0f);

    if (mLevel >= LEVEL_COUNT)
    {
        GoTo(RESULTS, "NONE");
        mLevel = 0;
        return;
    }

    TraceLevel(mLevel, restart);
    GoTo(PLAY, KEEP_BACKDROP);
    if (!restart)
    {
        if (!gLevelLoader.Load(mLevel, gEntities.GetEntities(), gEntities.GetOverlay()))
        {
            std::cout << "Level file could not be found or loaded" << std::flush;
            mQuit = true;
        }
        gCamera.Init(0.0f, gEntities.GetLastZ(), 0.0f, 1.0f, 500.0f);
    }
    gEntities.ResetWindow();
}

void Game_State::ResetLevel(bool restart)
{
    gPlayer.Restart();
    gEnvironment.Reset();
    gCamera.Reset();
    gBackground.Reset();
    gHUD.Init();
    gHUD.SetTexture("HUD");
    if (restart)
    {
        gEntities.ResetAll();
    }
    else
    {
        gEntities.Clear();
        // The last level's blended looks are of no use to the next one.
        gGraphics.Textures().ForgetCrossfades();
    }
}

float Game_State::GetPlayerProgress() const
{
    return gPlayer.mZ / gEntities.GetLastZ();
}

float Game_State::GetDragonProgress() const
{
    return gEnvironment.gDragonDistance / gEntities.GetLastZ();
}

void Game_State::MovePlayerToEnd()
{
    gPlayer.mZ = gEntities.GetLastZ();
}
