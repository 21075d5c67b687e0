// The options screen, opened from the main menu: volumes, full screen, steering, the
// keys of play and the assists. Every change takes effect at once and is kept in the
// settings file by the screen loop.
#include "Game/Game_State.h"

#include <cstdio>

#include "Audio/Sound_Manager.h"
#include "Core/Constants.h"
#include "Core/Game_Speed.h"
#include "Core/Globals.h"
#include "Game/Settings.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Background_Handler.h"

namespace
{
enum
{
    OPTION_MUSIC,
    OPTION_EFFECTS,
    OPTION_FULL_SCREEN,
    OPTION_STEERING,
    OPTION_KEY_LEFT,
    OPTION_KEY_RIGHT,
    OPTION_KEY_JUMP,
    OPTION_KEY_PAUSE,
    OPTION_RESET_KEYS,
    OPTION_FLASHING,
    OPTION_SPEED,
    OPTION_BACK,
    OPTION_COUNT
};
const char* const OPTION_NAMES[OPTION_COUNT] = {
    "Music volume", "Effects volume", "Full screen",    "Steering",        "Key for left", "Key for right",
    "Key for jump", "Key for pause",  "Reset the keys", "Reduce flashing", "Game speed",   "Back"};
// What each key line's action is called in a refusal.
const char* const KEY_ACTIONS[] = {"left", "right", "jump", "pause"};

const float VOLUME_STEP = 0.1f;
const float LINE_GAP = 0.1f;
const float TOP_Y = 0.6f; // the twelve lines fill the board's card
const float LABEL_X = -0.9f;
const float VALUE_X = 0.45f;
const float ARROW_X = -1.05f;
const float TEXT_SCALE = 0.75f;

int* BoundKey(int line)
{
    switch (line)
    {
    case OPTION_KEY_LEFT: return &gKeys.mLeft;
    case OPTION_KEY_RIGHT: return &gKeys.mRight;
    case OPTION_KEY_JUMP: return &gKeys.mJump;
    case OPTION_KEY_PAUSE: return &gKeys.mPause;
    default: return nullptr;
    }
}

std::string Percent(float level)
{
    char text[8];
    std::snprintf(text, sizeof text, "%d%%", static_cast<int>(level * 100.0f + 0.5f));
    return text;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string OptionValue(int line)
{
    switch (line)
    {
    case OPTION_MUSIC: return "< " + Percent(gSound.GetMusicLevel()) + " >";
    case OPTION_EFFECTS: return "< " + Percent(gSound.GetVolume()) + " >";
    case OPTION_FULL_SCREEN: return gGraphics.IsFullScreen() ? "On" : "Off";
    case OPTION_STEERING: return gMouseControl ? "Mouse" : "Keys";
    case OPTION_FLASHING: return gReduceFlashing ? "On" : "Off";
    case OPTION_SPEED: return "< " + std::to_string(gGameSpeed.GetPercent()) + "% >";
    default: break;
    }
    if (const int* key = BoundKey(line))
        return Upper(KeyName(*key));
    return "";
}
} // namespace

void Options_Screen::Frame(bool)
{
    gSound.SetVoiceLevel(1.0f);
    Draw();

    if (mWaitingLine >= 0)
    {
        WaitForKey();
        return;
    }

    if (mGame.BackAsked())
    {
        mMessage.clear();
        mGame.GoTo(Game_State::MAIN_MENU, Game_State::KEEP_BACKDROP);
    }
    else if (gInput.IsKeyPressed(KEY_DOWN) || gInput.IsKeyPressed(KEY_UP))
    {
        // Round from one end to the other.
        mCursor = (mCursor + (gInput.IsKeyPressed(KEY_DOWN) ? 1 : -1) + OPTION_COUNT) % OPTION_COUNT;
        mMessage.clear();
    }
    else if (gInput.IsKeyPressed(KEY_LEFT))
    {
        ChangeOption(mCursor, -1);
    }
    else if (gInput.IsKeyPressed(KEY_RIGHT))
    {
        ChangeOption(mCursor, 1);
    }
    else if (gInput.IsKeyPressed(KEY_RETURN))
    {
        ChangeOption(mCursor, 0);
    }
}

void Options_Screen::WaitForKey()
{
    // Escape (or the pad's back button) keeps the key as it was.
    if (mGame.BackAsked())
    {
        mWaitingLine = -1;
        mMessage.clear();
    }
    else if (gGraphics.IsFullScreen() != mWaitFullScreen)
    {
        mWaitFullScreen = gGraphics.IsFullScreen();
        mMessage = "F11 switches full screen and cannot be taken";
    }
    else if (const int key = gInput.GetKeyPressed())
    {
        ChooseKey(key);
    }
}

void Options_Screen::ChangeOption(int line, int direction)
{
    // Enter moves a level or the speed one step down and round again.
    const int step = direction != 0 ? direction : -1;
    switch (line)
    {
    case OPTION_MUSIC:
    {
        float level = gSound.GetMusicLevel() + step * VOLUME_STEP;
        if (direction == 0 && level < -0.01f)
            level = 1.0f;
        gSound.SetMusicLevel(level);
        gSound.PlayMusicSample(SOUND_GOOD_TONE);
        break;
    }
    case OPTION_EFFECTS:
    {
        float level = gSound.GetVolume() + step * VOLUME_STEP;
        if (direction == 0 && level < -0.01f)
            level = 1.0f;
        gSound.SetEffectsLevel(level);
        gSound.PlayEffect(SOUND_BELL); // a sample at the new volume
        break;
    }
    case OPTION_FULL_SCREEN: gGraphics.SetFullScreen(!gGraphics.IsFullScreen()); break;
    case OPTION_STEERING: ChooseSteering(!gMouseControl); break;
    case OPTION_FLASHING: gReduceFlashing = !gReduceFlashing; break;
    case OPTION_SPEED:
    {
        int percent = gGameSpeed.GetPercent() + step * Game_Speed::STEP;
        if (direction == 0 && percent < Game_Speed::SLOWEST)
            percent = Game_Speed::FULL;
        gGameSpeed.SetPercent(percent);
        break;
    }
    case OPTION_RESET_KEYS:
        if (direction != 0)
            break;
        gKeys = Key_Bindings();
        mMessage = "The keys are back to arrows, Space and P";
        break;
    case OPTION_BACK:
        if (direction == 0)
        {
            mMessage.clear();
            mGame.GoTo(Game_State::MAIN_MENU, Game_State::KEEP_BACKDROP);
        }
        break;
    default:
        if (direction == 0 && BoundKey(line))
        {
            mWaitingLine = line;
            mWaitFullScreen = gGraphics.IsFullScreen();
            mMessage = "Press the new key for " + std::string(KEY_ACTIONS[line - OPTION_KEY_LEFT]) +
                       " (Escape keeps it)";
        }
        break;
    }
}

void Options_Screen::ChooseKey(int key)
{
    int* const bound = BoundKey(mWaitingLine);
    const std::string name = Upper(KeyName(key));
    if (!KeyCanBeChosen(key))
    {
        mMessage = name + " is used by the menus or the game and cannot be taken";
        return;
    }
    if (mWaitingLine == OPTION_KEY_PAUSE && !KeyCanPause(key))
    {
        mMessage = name + " moves the pause menu and cannot pause";
        return;
    }
    for (int line = OPTION_KEY_LEFT; line <= OPTION_KEY_PAUSE; ++line)
        if (*BoundKey(line) == key && BoundKey(line) != bound)
        {
            mMessage = name + " is already the key for " + KEY_ACTIONS[line - OPTION_KEY_LEFT];
            return;
        }
    *bound = key;
    gInput.RegisterKey(key);
    mWaitingLine = -1;
    mMessage.clear();
}

void Options_Screen::Draw()
{
    gGraphics.BeginWorld();
    gGraphics.PushColour(0.25f, 1.0f, 1.0f, 1.0f);
    gBackground.Draw();
    gGraphics.PopColour();
    gGraphics.EndWorld();
    gGraphics.DrawFrameAt(mSlab, 0.0f, 0.0f, -0.7f);

    gFont.SetScale(2.0f);
    gFont.drawStringCentered("O p t i o n s", 0.0f, 0.84f, 0.0f, 1.0f, 1.0f, 0.5f, 1.0f);

    gFont.SetScale(TEXT_SCALE);
    mGame.Art().DrawGlow(OPTION_NAMES[mCursor], LABEL_X, TOP_Y, mCursor);
    for (int line = 0; line < OPTION_COUNT; ++line)
    {
        const float y = TOP_Y - LINE_GAP * line;
        const float x = line == mCursor ? LABEL_X + 0.025f : LABEL_X;
        gFont.drawString(OPTION_NAMES[line], x, y, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
        // A key line waiting for its key shows a question mark, in the title's yellow.
        if (line == mWaitingLine)
            gFont.drawString("?", VALUE_X, y, 0.0f, 0.6f, 0.3f, 0.0f, 1.0f);
        else
            gFont.drawString(OptionValue(line).c_str(), VALUE_X, y, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    }

    mGame.Art().DrawArrow(TOP_Y, mCursor, mArrowAngle, ARROW_X);

    gFont.SetScale(0.6f);
    if (!mMessage.empty())
        gFont.drawStringCentered(mMessage.c_str(), 0.0f, -0.74f, 0.0f, 1.0f, 0.6f, 0.4f, 1.0f);
    gFont.drawStringCentered("Up and down choose, left and right change, Enter picks", 0.0f, -0.84f, 0.0f,
                             1.0f, 1.0f, 0.5f, 1.0f);
    gFont.drawStringCentered("Escape returns to the main menu", 0.0f, -0.9f, 0.0f, 1.0f, 1.0f, 0.5f, 1.0f);
    gFont.SetScale(1.0f);
}
