#include "Core/Developer_Keys.h"

#include <iostream>

#include "Core/Globals.h"
#include "Game/Game_State.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Environment_Handler.h"

bool gFogEnabled = true;
float gFogDensity = 0.15f;
float gFogStart = 1.5f;
float gFogEnd = 12.0f;

namespace
{

const float FOG_STEP = 0.001f;
const float CATCH_UP_DISTANCE = 100000.0f;

} // namespace

void FogKeys(Input_Handler& input)
{
    input.RegisterKey(KEY_G);
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

void DeveloperKeys(Input_Handler& input)
{
    if (input.IsKeyPressed(KEY_K) || input.IsKeyPressed(KEY_M))
    {
        gKeyboardControl = !gKeyboardControl;
        gMouseControl = !gMouseControl;
    }
    FogKeys(input);
    if (input.IsKeyPressed(KEY_D))
        gEnvironment.gDragonDistance = CATCH_UP_DISTANCE;
    else if (input.IsKeyPressed(KEY_W))
        gGameState.MovePlayerToEnd();
}

void FogFade(float playerProgress)
{
    // The fade starts from the level's own fog colour: from black, a cave with coloured
    // fog would jump to black at the start of its last fifth.
    static float levelFog[3] = {0.0f, 0.0f, 0.0f};
    const float p = playerProgress;
    const float t = 1.0f - (1.0f - p) * 5.0f;
    if (p <= 0.8f)
    {
        for (int c = 0; c < 3; ++c)
            levelFog[c] = gGraphics.GetFogColour()[c];
        return;
    }
    gGraphics.SetFogColour(levelFog[0] + (1.0f - levelFog[0]) * t, levelFog[1] + (1.0f - levelFog[1]) * t,
                           levelFog[2] + (1.0f - levelFog[2]) * t);
    if (p > 0.9f)
        gGraphics.SetFogParameters(0.15f * t, 1.5f - 1.5f * t, 20.0f);
    else
        gGraphics.SetFogParameters(0.15f - 0.15f * t, 1.5f * t, 20.0f);
}
