#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <SDL/SDL.h>

#include "App/Developer_Keys.h"
#include "Core/Globals.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Environment_Handler.h"
#include "World/Floating_Text.h"
#include "tools/runners/Key_Pusher.h"

namespace
{

void Push(Uint8 type, int sym)
{
    ASSERT_TRUE(test_keys::PushKey(sym, type == SDL_KEYDOWN));
}

class DeveloperKeysTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_Quit(); }

    void SetUp() override
    {
        gKeyboardControl = true;
        gMouseControl = false;
        gFogEnabled = true;
        gFogDensity = 0.15f;
        gFogStart = 1.5f;
        gFogEnd = 12.0f;
        mInput.Init(0, 800);
        for (int key :
             {KEY_K, KEY_M, KEY_F, KEY_G, KEY_S, KEY_E, KEY_KP_PLUS, KEY_KP_MINUS, KEY_SPACE, KEY_D})
            mInput.RegisterKey(key);
    }
    void TearDown() override
    {
        gKeyboardControl = true;
        gMouseControl = false;
    }

    // One frame of play as far as these keys are concerned.
    void Frame()
    {
        mInput.Update();
        DeveloperKeys(mInput);
    }
    void Hold(int key)
    {
        Push(SDL_KEYDOWN, key);
        Frame();
    }

    Input_Handler mInput;
};

TEST_F(DeveloperKeysTest, ControlSwapsOnEachPressOfKOrM)
{
    Hold(KEY_K);
    EXPECT_FALSE(gKeyboardControl);
    EXPECT_TRUE(gMouseControl);
    // Said on screen: the arrows have stopped steering.
    ASSERT_FALSE(gFloatingTexts.GetTexts().empty());
    EXPECT_EQ(gFloatingTexts.GetTexts().back().mText, "MOUSE STEERING");
    Frame(); // still held: no second swap
    EXPECT_TRUE(gMouseControl);

    // k and m together arrive one per frame, so they swap twice.
    Push(SDL_KEYUP, KEY_K);
    Frame();
    Push(SDL_KEYDOWN, KEY_K);
    Push(SDL_KEYDOWN, KEY_M);
    Frame();
    Frame();
    EXPECT_FALSE(gKeyboardControl);
    EXPECT_TRUE(gMouseControl);
}

TEST_F(DeveloperKeysTest, FogValuesTuneOnlyWhileFIsHeld)
{
    Hold(KEY_KP_PLUS);
    EXPECT_FLOAT_EQ(gFogDensity, 0.15f);

    Hold(KEY_F); // plus still held: density rises this frame
    EXPECT_FLOAT_EQ(gFogDensity, 0.151f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogDensity(), 0.151f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogStart(), 1.5f);

    // With s held as well, plus and minus both apply to the start.
    Hold(KEY_S);
    Hold(KEY_KP_MINUS);
    const float start = gFogStart;
    Frame();
    EXPECT_FLOAT_EQ(gFogStart, start);
    EXPECT_FLOAT_EQ(gFogDensity, 0.151f);
    EXPECT_FLOAT_EQ(gFogEnd, 12.0f);
}

TEST_F(DeveloperKeysTest, GTogglesTheFogSwitchAndSpacePrintsTheValues)
{
    Hold(KEY_F);
    Hold(KEY_G);
    EXPECT_FALSE(gFogEnabled);
    Push(SDL_KEYUP, KEY_G);
    Frame();
    Hold(KEY_G);
    EXPECT_TRUE(gFogEnabled);

    testing::internal::CaptureStdout();
    Hold(KEY_SPACE);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "fog percent: 0.15   Hold f and press + or - on keypad to change.\n"
                   "fog start: 1.5   Hold f and s and press + or - on keypad to change.\n"
                   "fog end: 12   Hold f and e and press + or - on keypad to change.\n\n");
}

TEST_F(DeveloperKeysTest, DLetsTheDragonCatchUp)
{
    gEnvironment.gDragonDistance = 10.0f;
    Hold(KEY_D);
    EXPECT_FLOAT_EQ(gEnvironment.gDragonDistance, 100000.0f);
}

TEST(FogFade, LastFifthFadesFromTheLevelsFogToWhite)
{
    gGraphics.SetFogColour(0.2f, 0.3f, 0.4f);
    gGraphics.SetFogParameters(0.8f, 3.0f, 20.0f);

    Fog_Fade fade;
    fade.Update(0.5f);
    fade.Update(0.8f); // the boundary itself changes nothing
    EXPECT_FLOAT_EQ(gGraphics.GetFogColour()[0], 0.2f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogStart(), 3.0f);

    fade.Update(0.85f); // t = 0.25: a quarter of the way from the level's fog to white
    EXPECT_NEAR(gGraphics.GetFogColour()[1], 0.475f, 1e-5);
    EXPECT_NEAR(gGraphics.GetFogStart(), 0.375f, 1e-5);
    EXPECT_NEAR(gGraphics.GetFogDensity(), 0.1125f, 1e-5);
    EXPECT_FLOAT_EQ(gGraphics.GetFogEnd(), 20.0f);

    fade.Update(0.9f); // still the lower formula: halfway to white, start at its highest
    EXPECT_NEAR(gGraphics.GetFogColour()[2], 0.7f, 1e-5);
    EXPECT_NEAR(gGraphics.GetFogStart(), 0.75f, 1e-5);

    fade.Update(0.95f); // t = 0.75, falling back towards the viewer
    EXPECT_NEAR(gGraphics.GetFogColour()[0], 0.8f, 1e-5);
    EXPECT_NEAR(gGraphics.GetFogStart(), 0.375f, 1e-5);
    EXPECT_NEAR(gGraphics.GetFogDensity(), 0.1125f, 1e-5);

    fade.Update(1.0f);
    EXPECT_NEAR(gGraphics.GetFogColour()[0], 1.0f, 1e-5);
    EXPECT_NEAR(gGraphics.GetFogStart(), 0.0f, 1e-5);
    EXPECT_NEAR(gGraphics.GetFogColour()[3], 1.0f, 1e-6);
}

} // namespace
