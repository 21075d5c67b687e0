// The two screens that open the program: the team logo and the main menu.
#include "Game/Game_State.h"

#include "Audio/Sound_Manager.h"
#include "Entities/Player.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Background_Handler.h"
#include "World/Camera.h"

namespace
{
const char* const COPYRIGHT_LINE = "(C) 2026 Hollow Hill Games";
const float ITEM_FRONT = 0.5f;
const float ITEM_BACK = -2.0f;
const float ITEM_STEP = 0.5f;
const float UNSELECTED_LIGHT = 0.4f;
} // namespace

void Game_State::TeamLogoScreen()
{
    mLogo.mHold -= 0.015f;
    if (mLogo.mHold < 0.0f)
    {
        // The backdrop is drawn under this colour on the following frames.
        gGraphics.PopColour();
        mLogo.mFade -= 0.01f;
        gGraphics.PushColour(mLogo.mFade, 1.0f, 1.0f, 1.0f);
    }
    if (mLogo.mFade < 0.0f || gInput.IsKeyPressed(KEY_RETURN) || gInput.IsLeftButtonDown())
    {
        GoTo(&Game_State::MainMenuScreen, "NONE");
        gGraphics.PopColour();
    }
}

void Game_State::MainMenuScreen()
{
    mLevel = 0;
    gPlayer.ClearScores();
    gSound.SetVoiceLevel(1.0f);
    gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);
    gGraphics.SetFogParameters(CAVE_FOG);
    gCamera.Reset();
    gBackground.Reset();

    Menu_Look& look = mMainMenu.mLook;
    // The selected item comes forward, the other sinks back, a step per frame.
    const bool optionsSelected = !look.mStartSelected;
    if (look.mStartSelected && look.mStartDepth < ITEM_FRONT)
        look.mStartDepth += ITEM_STEP;
    if (optionsSelected && look.mOptionsDepth < ITEM_FRONT)
        look.mOptionsDepth += ITEM_STEP;
    if (look.mStartSelected && look.mOptionsDepth > ITEM_BACK)
        look.mOptionsDepth -= ITEM_STEP;
    if (optionsSelected && look.mStartDepth > ITEM_BACK)
        look.mStartDepth -= ITEM_STEP;

    mSkipRender = MenuLookShown(look);
    if (!mSkipRender)
        DrawMainMenu();

    if (gInput.IsKeyPressed(KEY_LEFT))
        look.mStartSelected = true;
    else if (gInput.IsKeyPressed(KEY_RIGHT))
        look.mStartSelected = false;

    if (gInput.IsKeyPressed(KEY_RETURN))
    {
        mQuit = false;
        if (look.mStartSelected)
            GoTo(&Game_State::IntroScreen, KEEP_BACKDROP);
        else
            GoTo(&Game_State::CreditsScreen, "CREDITS");
    }

    // Closing the window here ends the program: no screen, and the main loop stops.
    if (mQuit)
        GoTo(PLAY, KEEP_BACKDROP);
}

void Game_State::DrawMainMenu()
{
    const Menu_Look& look = mMainMenu.mLook;
    const bool optionsSelected = !look.mStartSelected;
    gBackground.Draw();
    gGraphics.DrawFrameAt(mTitleImage, 0.7f, 0.8f, -0.7f);
    // The item not chosen also stands in shadow, so the choice shows at a glance.
    gGraphics.PushColour(1.0f, look.mStartSelected ? 1.0f : UNSELECTED_LIGHT,
                         look.mStartSelected ? 1.0f : UNSELECTED_LIGHT,
                         look.mStartSelected ? 1.0f : UNSELECTED_LIGHT);
    gGraphics.DrawFrameAt(mStartItem, -0.4f, -0.4f, look.mStartDepth);
    gGraphics.PopColour();
    gGraphics.PushColour(1.0f, optionsSelected ? 1.0f : UNSELECTED_LIGHT,
                         optionsSelected ? 1.0f : UNSELECTED_LIGHT,
                         optionsSelected ? 1.0f : UNSELECTED_LIGHT);
    gGraphics.DrawFrameAt(mOptionsItem, 0.4f, -0.4f, look.mOptionsDepth);
    gGraphics.PopColour();
    gFont.SetScale(0.6f);
    gFont.drawStringCentered(COPYRIGHT_LINE, 0.0f, -0.9f, 0.0f, 1.0f, 0.9f, 0.0f, 1.0f);
    gFont.SetScale(1.0f);
}
