#include "Game/Game_State.h"

#include "Game/Settings.h"

#include <iostream>

#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"
#include "Core/Game_Timer.h"
#include "Entities/Player.h"
#include "Game/HUD.h"
#include "Game/Settings.h"
#include "Game/Trace.h"
#include "Graphics/Font.h"
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
} // namespace

Game_State::Game_State() : mScreen(nullptr), mLevel(0), mQuit(false), mWindowClosed(false), mSkipRender(false)
{
    mHighScores.mPath = HIGH_SCORE_FILE;
}

void Game_State::Init()
{
    mLevel = 0;
    mQuit = false;
    mWindowClosed = false;
    mHighScores.mLoaded = false;
    GoTo(&Game_State::TeamLogoScreen, "TEAM_LOGO");

    mTitleImage.SetImage("ZOOMQUEST");
    mStartItem.SetImage("START_TEXT");
    mOptionsItem.SetImage("OPTIONS_TEXT");
    mSettingsItem.SetImage("MENU_OPTIONS");
    mOptionsSlab.SetImage("OPTIONS_SLAB");
    mMenuSlab.SetImage("MENU_SLAB");
    mArrow.SetImage("ARROW");
    mMapHere.SetImage("CHASE_PLAYER");
    mSelection.SetImage("MENU_SELECTION");
    mArrow.mScale.Set(0.6f, 0.6f, 0.6f);
    mTeethTop.SetImage("DRAGON_TEETH_TOP");
    mTeethBottom.SetImage("DRAGON_TEETH_BOT");
    mClaw.SetImage("DRAGON_CLAW");
    mClaw.mRotation.Set(90.0f, 0.0f, 0.0f, 1.0f);
}

void Game_State::GoTo(Screen screen, const char* backdrop)
{
    if (screen != mScreen)
        TraceScreen(screen);
    mScreen = screen;
    if (backdrop != KEEP_BACKDROP)
        SetBackdrop(backdrop);
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
    if (!mScreen)
        CheckPlayTransitions();

    gGraphics.PushColour(1.0f, 1.0f, 1.0f, 1.0f);
    while (mScreen)
        RunScreenFrame(timer);
    // Play draws over whatever the menu left standing, and moves the world on: the
    // next pause or catch finds another world behind it. (Both menus share one copy.)
    mMainMenu.mShown.mValid = false;
    mCaveMap.mValid = false;
    mPause.mKept.mValid = false;
    mDeath.mKept.mValid = false;
    // The logo screen pops the colour itself when it hands over.
    if (gGraphics.GetColourDepth() > 0)
        gGraphics.PopColour();
    gGraphics.EnableFog();
}

void Game_State::RunScreenFrame(Game_Timer& timer)
{
    timer.StartFrame();
    if (!gInput.Update())
    {
        // A quit signal ends the program from any screen, like the main menu's quit.
        if (Input_Handler::QuitSignalled())
        {
            mQuit = true;
            GoTo(PLAY, KEEP_BACKDROP);
        }
        // Only the main menu lets the window close; elsewhere it is a menu choice.
        else if (mScreen == &Game_State::MainMenuScreen)
            mQuit = true;
        mWindowClosed = true;
    }
    else
    {
        mWindowClosed = false;
    }

    mSkipRender = false;
    const Screen screen = mScreen;
    // The cave map is its backdrop and two lines of text: nothing on it moves.
    if (screen == &Game_State::CaveMapScreen)
        mSkipRender = PictureStands(true, true, mCaveMap);
    if (mBackdrop.mKey != "NONE" && !mSkipRender)
        gGraphics.DrawFrameAt(mBackdrop, 0.0f, 0.0f, BACKDROP_Z);
    if (mScreen)
        (this->*mScreen)();
    KeepSettings();

    gSound.Update();
    if (!mSkipRender)
    {
        gFloatingTexts.UpdateAndDraw();
        gGraphics.Render();
        // Only the screen that drew it knows when its picture still stands.
        if (screen != &Game_State::MainMenuScreen)
            mMainMenu.mShown.mValid = false;
        if (screen != &Game_State::CaveMapScreen)
            mCaveMap.mValid = false;
    }
    timer.EndFrame();
    timer.WaitForFrame();
}

bool Game_State::MenuLookShown(const Menu_Look& look)
{
    Main_Menu& menu = mMainMenu;
    const bool same = look == menu.mShownLook;
    menu.mShownLook = look;
    // The backdrop is drawn before the menu decides, so the menu cannot leave it out.
    return PictureStands(same, false, menu.mShown);
}

bool Game_State::PictureStands(bool sameLook, bool backdropStill, Shown_Picture& shown)
{
    // Both are asked every frame so neither is left pending for later.
    const bool exposed = gInput.TakeExposed();
    const bool lost = gGraphics.TakePictureLost();
    ++shown.mFramesSinceDraw;
    // Anything drifting over the picture moves on every frame; and once a second the
    // picture is drawn anyway, should the window have lost it without a word.
    if (exposed || lost || !shown.mValid || !sameLook || gFloatingTexts.Count() > 0 ||
        (!backdropStill && mBackdrop.mKey != "NONE") || shown.mFramesSinceDraw >= MENU_REDRAW_FRAMES)
    {
        shown.mValid = true;
        shown.mFramesSinceDraw = 0;
        return false;
    }
    return true;
}

bool Game_State::DrawKeptMenu(const Kept_Menu& kept, int cursor, bool stillBehind)
{
    return kept.mValid && kept.mCursor == cursor && stillBehind && gGraphics.DrawKeptPicture();
}

void Game_State::KeepMenu(Kept_Menu& kept, int cursor, bool stillBehind)
{
    kept.mValid = stillBehind && gGraphics.KeepPicture();
    kept.mCursor = cursor;
}

void Game_State::CheckPlayTransitions()
{
    if (gEntities.IsLevelPassed())
    {
        GoTo(&Game_State::LevelCompleteScreen, "NONE");
    }
    else if (gPlayer.IsCaught())
    {
        gHUD.Hide();
        GoTo(&Game_State::DeathScreen, "NONE");
    }
    // A pause wins; the level end or the catch is found again when play resumes.
    if (gInput.IsKeyPressed(gKeys.mPause))
        GoTo(&Game_State::PauseScreen, "NONE");
}

void Game_State::EnterPause()
{
    GoTo(&Game_State::PauseScreen, "NONE");
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
        GoTo(&Game_State::ResultsScreen, "NONE");
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
        gImageBank.ForgetCrossfades();
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

void Game_State::DrawMenuItems(const char* const* items, int count, float topY, int cursor, float& arrowAngle)
{
    DrawMenuLines(items, count, topY, cursor);
    DrawMenuArrow(topY, cursor, arrowAngle);
}

void Game_State::DrawMenuLines(const char* const* items, int count, float topY, int cursor)
{
    gFont.SetScale(0.75f);
    // The glow spans the selected line, whatever its length: the image is one glyph wide.
    const std::string selected = items[cursor];
    mSelection.mScale.Set(static_cast<float>(selected.size()) + 1.0f, 1.0f, 1.0f);
    gGraphics.DrawFrameAt(mSelection, -0.5f + 0.06f + 0.045f * 0.5f * (selected.size() - 1.0f),
                          topY - 0.1f * cursor - 0.05f, -0.01f);
    for (int i = 0; i < count; ++i)
    {
        const float x = i == cursor ? -0.5f : -0.525f;
        gFont.drawString(items[i], x, topY - 0.1f * i, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    }
    gFont.SetScale(1.0f);
}

void Game_State::DrawMenuArrow(float topY, int cursor, float& arrowAngle)
{
    mArrow.mRotation.Set(arrowAngle, 1.0f, 0.0f, 0.0f);
    arrowAngle += 10.0f;
    gGraphics.DrawFrameAt(mArrow, -0.7f, topY - 0.1f * cursor - 0.03f, 0.0f);
}
