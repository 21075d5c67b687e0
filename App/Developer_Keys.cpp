#include "App/Developer_Keys.h"

#include <iostream>

#include "Core/Globals.h"
#include "Game/Game_State.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Environment_Handler.h"
#include "World/Floating_Text.h"

bool gFogEnabled = true;
float gFogDensity = 0.15f;
float gFogStart = 1.5f;
float gFogEnd = 12.0f;

namespace
{

const float FOG_STEP = 0.001f;
const float CATCH_UP_DISTANCE = 100000.0f;

// The steering a developer key switched to, said on screen: otherwise the arrows just
// stop working. White, so the floating texts' colour order does not matter.
const float STEERING_NOTE_FRAMES = 150.0f;
const float STEERING_NOTE_X = 0.33f;
const float STEERING_NOTE_Y = 0.6f; // below the hint signs and praise, above the runner
const float STEERING_NOTE_FROM_Z = 0.5f;
const float STEERING_NOTE_TO_Z = 1.0f;

void ShowSteering()
{
    Tint from, to;
    from.Set(1.0f, 1.0f, 1.0f, 1.0f);
    to.Set(0.0f, 1.0f, 1.0f, 1.0f);
    gFloatingTexts.Add(gMouseControl ? "MOUSE STEERING" : "KEYBOARD STEERING", STEERING_NOTE_FRAMES,
                       STEERING_NOTE_X, STEERING_NOTE_Y, STEERING_NOTE_FROM_Z, from, STEERING_NOTE_X,
                       STEERING_NOTE_Y, STEERING_NOTE_TO_Z, to);
}

// The fade to white over the last fifth of a level: t runs from 0 at progress FADE_FROM
// to 1 at the end. Up to the turn (t = 0.5) the fog thins to half and its start moves
// out from the eye; after it both go back.
const float FADE_FROM = 0.8f;
const float FADE_RATE = 5.0f; // 1 / (1 - FADE_FROM)
const float FADE_TURN = 0.9f;
const float FADE_DENSITY = 0.15f; // times 1 - t up to the turn, t after it
const float FADE_START = 1.5f;    // times t up to the turn, 1 - t after it
const float FADE_END = 20.0f;     // where the fog ends, all through the fade

} // namespace

void FogKeys(const Input_Handler& input)
{
    if (!input.IsKeyDown(KEY_F))
        return;

    if (input.IsKeyPressed(KEY_G))
    {
        gFogEnabled = !gFogEnabled;
        if (gFogEnabled)
            gGraphics.EnableFog();
        else
            gGraphics.DisableFog();
    }

    float* value = &gFogDensity;
    if (input.IsKeyDown(KEY_S))
        value = &gFogStart;
    else if (input.IsKeyDown(KEY_E))
        value = &gFogEnd;
    if (input.IsKeyDown(KEY_KP_PLUS))
        *value += FOG_STEP;
    if (input.IsKeyDown(KEY_KP_MINUS))
        *value -= FOG_STEP;

    // Tuning needs the fog visible, so holding f always brings it back.
    gGraphics.EnableFog();

    if (input.IsKeyPressed(KEY_SPACE))
    {
        std::cout << "fog percent: " << gFogDensity << "   Hold f and press + or - on keypad to change."
                  << std::endl
                  << "fog start: " << gFogStart << "   Hold f and s and press + or - on keypad to change."
                  << std::endl
                  << "fog end: " << gFogEnd << "   Hold f and e and press + or - on keypad to change."
                  << std::endl
                  << std::endl;
    }
    gGraphics.SetFogParameters(gFogDensity, gFogStart, gFogEnd);
}

void DeveloperKeys(const Input_Handler& input)
{
    // For this run only: the settings keep what the player chose in a menu.
    if (input.IsKeyPressed(KEY_K) || input.IsKeyPressed(KEY_M))
    {
        gKeyboardControl = !gKeyboardControl;
        gMouseControl = !gMouseControl;
        ShowSteering();
    }
    FogKeys(input);
    if (input.IsKeyPressed(KEY_D))
        gEnvironment.gDragonDistance = CATCH_UP_DISTANCE;
    else if (input.IsKeyPressed(KEY_W))
        gGameState.MovePlayerToEnd();
}

void Fog_Fade::Update(float playerProgress)
{
    const float p = playerProgress;
    const float t = 1.0f - (1.0f - p) * FADE_RATE;
    if (p <= FADE_FROM)
    {
        for (int c = 0; c < 3; ++c)
            mLevelFog[c] = gGraphics.GetFogColour()[c];
        return;
    }
    gGraphics.SetFogColour(mLevelFog[0] + (1.0f - mLevelFog[0]) * t, mLevelFog[1] + (1.0f - mLevelFog[1]) * t,
                           mLevelFog[2] + (1.0f - mLevelFog[2]) * t);
    if (p > FADE_TURN)
        gGraphics.SetFogParameters(FADE_DENSITY * t, FADE_START - FADE_START * t, FADE_END);
    else
        gGraphics.SetFogParameters(FADE_DENSITY - FADE_DENSITY * t, FADE_START * t, FADE_END);
}
