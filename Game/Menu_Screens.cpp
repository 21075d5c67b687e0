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
// The options item stands below the other two, in the middle, and comes less far
// forward so it never covers them.
const float SETTINGS_X = 0.0f;
const float SETTINGS_Y = -0.75f;
const float SETTINGS_FRONT = -1.0f;
} // namespace

void Team_Logo_Screen::Frame(bool)
{
    mHold -= 0.015f;
    if (mHold < 0.0f)
    {
        // The backdrop is drawn under this colour on the following frames.
        gGraphics.PopColour();
        mFade -= 0.01f;
        gGraphics.PushColour(mFade, 1.0f, 1.0f, 1.0f);
    }
    if (mFade < 0.0f || gInput.IsKeyPressed(KEY_RETURN) || gInput.IsLeftButtonDown())
    {
        mGame.GoTo(Game_State::MAIN_MENU, "NONE");
        gGraphics.PopColour();
    }
}

void Main_Menu_Screen::Init()
{
    mTitleImage.SetImage("ZOOMQUEST");
    mStartItem.SetImage("START_TEXT");
    mOptionsItem.SetImage("OPTIONS_TEXT");
    mSettingsItem.SetImage("MENU_OPTIONS");
}

Main_Menu_Screen::Look Main_Menu_Screen::Stepped(Look look)
{
    const bool startSelected = look.mStartSelected && !look.mSettingsSelected;
    const bool optionsSelected = !look.mStartSelected && !look.mSettingsSelected;
    if (startSelected && look.mStartDepth < ITEM_FRONT)
        look.mStartDepth += ITEM_STEP;
    if (optionsSelected && look.mOptionsDepth < ITEM_FRONT)
        look.mOptionsDepth += ITEM_STEP;
    if (!optionsSelected && look.mOptionsDepth > ITEM_BACK)
        look.mOptionsDepth -= ITEM_STEP;
    if (!startSelected && look.mStartDepth > ITEM_BACK)
        look.mStartDepth -= ITEM_STEP;
    if (look.mSettingsSelected && look.mSettingsDepth < SETTINGS_FRONT)
        look.mSettingsDepth += ITEM_STEP;
    if (!look.mSettingsSelected && look.mSettingsDepth > ITEM_BACK)
        look.mSettingsDepth -= ITEM_STEP;
    return look;
}

void Main_Menu_Screen::Frame(bool pictureStands)
{
    mGame.SetLevel(0);
    gPlayer.ClearScores();
    gSound.SetVoiceLevel(1.0f);
    gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);
    gGraphics.SetFogParameters(CAVE_FOG);
    gCamera.Reset();
    gBackground.Reset();

    mLook = Stepped(mLook);
    mShownLook = mLook;
    if (!pictureStands)
        Draw();
    Choose();
}

void Main_Menu_Screen::Choose()
{
    // START and CREDITS side by side, OPTIONS below them; up goes back to the one left.
    if (gInput.IsKeyPressed(KEY_LEFT))
    {
        mLook.mStartSelected = true;
        mLook.mSettingsSelected = false;
    }
    else if (gInput.IsKeyPressed(KEY_RIGHT))
    {
        mLook.mStartSelected = false;
        mLook.mSettingsSelected = false;
    }
    else if (gInput.IsKeyPressed(KEY_DOWN))
    {
        mLook.mSettingsSelected = true;
    }
    else if (gInput.IsKeyPressed(KEY_UP))
    {
        mLook.mSettingsSelected = false;
    }

    if (gInput.IsKeyPressed(KEY_RETURN))
    {
        if (mLook.mSettingsSelected)
            mGame.GoTo(Game_State::OPTIONS, Game_State::KEEP_BACKDROP);
        else if (mLook.mStartSelected)
            mGame.GoTo(Game_State::INTRO, Game_State::KEEP_BACKDROP);
        else
            mGame.GoTo(Game_State::CREDITS, "CREDITS");
    }
    // Closing the window here ends the program.
    else if (mGame.BackAsked())
    {
        mGame.Quit();
    }
}

void Main_Menu_Screen::Draw() const
{
    const bool startSelected = mLook.mStartSelected && !mLook.mSettingsSelected;
    const bool optionsSelected = !mLook.mStartSelected && !mLook.mSettingsSelected;
    gGraphics.BeginWorld();
    gBackground.Draw();
    gGraphics.EndWorld();
    gGraphics.DrawFrameAt(mTitleImage, 0.7f, 0.8f, -0.7f);
    // The items not chosen also stand in shadow, so the choice shows at a glance.
    const auto drawItem = [](const Animation_Frame& item, float x, float y, float depth, bool selected)
    {
        const float light = selected ? 1.0f : UNSELECTED_LIGHT;
        gGraphics.PushColour(1.0f, light, light, light);
        gGraphics.DrawFrameAt(item, x, y, depth);
        gGraphics.PopColour();
    };
    drawItem(mStartItem, -0.4f, -0.4f, mLook.mStartDepth, startSelected);
    drawItem(mOptionsItem, 0.4f, -0.4f, mLook.mOptionsDepth, optionsSelected);
    drawItem(mSettingsItem, SETTINGS_X, SETTINGS_Y, mLook.mSettingsDepth, mLook.mSettingsSelected);
    gFont.SetScale(0.6f);
    gFont.drawStringCentered(COPYRIGHT_LINE, 0.0f, -0.9f, 0.0f, 1.0f, 0.9f, 0.0f, 1.0f);
    gFont.SetScale(1.0f);
}
