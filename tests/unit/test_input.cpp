#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include <SDL/SDL.h>

#include "Core/Globals.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "tools/runners/Key_Pusher.h"

namespace
{

void PushKey(Uint8 type, int sym)
{
    ASSERT_TRUE(test_keys::PushKey(sym, type == SDL_KEYDOWN));
}

void PushMotion(int x, int y)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushButton(Uint8 type)
{
    SDL_Event event = {};
    event.type = type;
    event.button.type = type;
    event.button.button = SDL_BUTTON_LEFT;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushAxis(int axis, int value)
{
    SDL_Event event = {};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.type = SDL_JOYAXISMOTION;
    event.jaxis.axis = static_cast<Uint8>(axis);
    event.jaxis.value = static_cast<Sint16>(value);
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushHat(Uint8 value)
{
    SDL_Event event = {};
    event.type = SDL_JOYHATMOTION;
    event.jhat.type = SDL_JOYHATMOTION;
    event.jhat.value = value;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void PushPadButton(int button, bool down)
{
    SDL_Event event = {};
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.type = event.type;
    event.jbutton.button = static_cast<Uint8>(button);
    event.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

int gToggles = 0;
void CountToggle()
{
    ++gToggles;
}

class InputTest : public ::testing::Test
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
        SDL_Event drop;
        while (SDL_PollEvent(&drop))
        {
        }
        gMouseControl = false;
        mInput.Init(0, 800);
        mInput.RegisterKey(KEY_LEFT);
        mInput.RegisterKey(KEY_SPACE);
    }

    void RegisterPadKeys()
    {
        for (int key : {KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_RETURN, KEY_P})
            mInput.RegisterKey(key);
    }

    Input_Handler mInput;
};

TEST_F(InputTest, PressHoldAndRelease)
{
    PushKey(SDL_KEYDOWN, KEY_LEFT);
    EXPECT_TRUE(mInput.Update());
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_LEFT));
    EXPECT_FALSE(mInput.IsKeyDown(KEY_SPACE));

    // Held over the following frames, but pressed only in the first.
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_TRUE(mInput.Update());
        EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));
        EXPECT_FALSE(mInput.IsKeyPressed(KEY_LEFT));
    }

    PushKey(SDL_KEYUP, KEY_LEFT);
    EXPECT_TRUE(mInput.Update());
    EXPECT_FALSE(mInput.IsKeyDown(KEY_LEFT));
    EXPECT_FALSE(mInput.IsKeyPressed(KEY_LEFT));
}

TEST_F(InputTest, OneKeyEventPerFrame)
{
    // A tap inside one frame still shows as pressed for a whole frame.
    PushKey(SDL_KEYDOWN, KEY_SPACE);
    PushKey(SDL_KEYUP, KEY_SPACE);
    PushKey(SDL_KEYDOWN, KEY_LEFT);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_SPACE));
    EXPECT_FALSE(mInput.IsKeyDown(KEY_LEFT));
    mInput.Update();
    EXPECT_FALSE(mInput.IsKeyDown(KEY_SPACE));
    EXPECT_FALSE(mInput.IsKeyDown(KEY_LEFT));
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_LEFT));
}

TEST_F(InputTest, EscapeAndCloseAreQuitRequests)
{
    PushKey(SDL_KEYDOWN, KEY_LEFT);
    mInput.Update();

    PushKey(SDL_KEYDOWN, KEY_ESCAPE);
    EXPECT_FALSE(mInput.Update());
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT)); // no key state changed
    EXPECT_FALSE(mInput.IsKeyDown(KEY_ESCAPE));
    PushKey(SDL_KEYUP, KEY_ESCAPE);
    EXPECT_TRUE(mInput.Update());
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));

    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    EXPECT_FALSE(mInput.Update());
    // The request is reported once; the next frame is ordinary again.
    EXPECT_TRUE(mInput.Update());
}

TEST_F(InputTest, UnregisteredKeysAreIgnored)
{
    PushKey(SDL_KEYDOWN, KEY_W);
    EXPECT_TRUE(mInput.Update());
    EXPECT_FALSE(mInput.IsKeyDown(KEY_W));
    EXPECT_FALSE(mInput.IsKeyPressed(KEY_W));

    // Registering later does not replay the old press.
    mInput.RegisterKey(KEY_W);
    EXPECT_FALSE(mInput.IsKeyDown(KEY_W));
    PushKey(SDL_KEYDOWN, KEY_W);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_W));
}

TEST_F(InputTest, RegisteringTwiceKeepsTheState)
{
    PushKey(SDL_KEYDOWN, KEY_LEFT);
    mInput.Update();
    mInput.RegisterKey(KEY_LEFT);
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_LEFT));
}

TEST_F(InputTest, MouseEventsDoNotDelayKeys)
{
    for (int i = 0; i < 80; ++i)
        PushMotion(i, i);
    PushButton(SDL_MOUSEBUTTONDOWN);
    PushButton(SDL_MOUSEBUTTONUP);
    PushKey(SDL_KEYDOWN, KEY_SPACE);
    for (int i = 0; i < 30; ++i)
        PushMotion(i, 10);
    PushKey(SDL_KEYUP, KEY_SPACE);

    EXPECT_TRUE(mInput.Update());
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_SPACE));
    EXPECT_TRUE(mInput.Update());
    EXPECT_FALSE(mInput.IsKeyDown(KEY_SPACE));
}

TEST_F(InputTest, StickAndDpadSteerLikeTheArrowKeys)
{
    RegisterPadKeys();
    // A stick resting a little off centre presses nothing and costs no frame.
    PushAxis(0, -7000);
    PushAxis(1, 7000);
    PushKey(SDL_KEYDOWN, KEY_UP);
    EXPECT_TRUE(mInput.Update());
    EXPECT_FALSE(mInput.IsKeyDown(KEY_LEFT));
    EXPECT_FALSE(mInput.IsKeyDown(KEY_DOWN));
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_UP));
    PushKey(SDL_KEYUP, KEY_UP);
    mInput.Update();

    PushAxis(0, -20000);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_LEFT));
    // More of the same direction is not a new press.
    PushAxis(0, -30000);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));
    EXPECT_FALSE(mInput.IsKeyPressed(KEY_LEFT));
    // Swung across in one event: the old side lets go.
    PushAxis(0, 25000);
    mInput.Update();
    EXPECT_FALSE(mInput.IsKeyDown(KEY_LEFT));
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_RIGHT));
    PushAxis(0, 100);
    mInput.Update();
    EXPECT_FALSE(mInput.IsKeyDown(KEY_RIGHT));

    // The stick's up is the menus' up; the D-pad moves the cursor the same way.
    PushAxis(1, -32768);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_UP));
    PushAxis(1, 0);
    mInput.Update();
    PushHat(SDL_HAT_DOWN);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_DOWN));
    EXPECT_FALSE(mInput.IsKeyDown(KEY_UP));
    PushHat(SDL_HAT_LEFTUP);
    mInput.Update();
    EXPECT_FALSE(mInput.IsKeyDown(KEY_DOWN));
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));
    EXPECT_TRUE(mInput.IsKeyDown(KEY_UP));
    PushHat(SDL_HAT_CENTERED);
    mInput.Update();
    EXPECT_FALSE(mInput.IsKeyDown(KEY_LEFT));
    EXPECT_FALSE(mInput.IsKeyDown(KEY_UP));
}

TEST_F(InputTest, PadButtonsJumpSelectPauseAndBackOut)
{
    RegisterPadKeys();
    PushPadButton(0, true);
    EXPECT_TRUE(mInput.Update());
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_SPACE));
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_RETURN));
    PushPadButton(0, false);
    mInput.Update();
    EXPECT_FALSE(mInput.IsKeyDown(KEY_SPACE));
    EXPECT_FALSE(mInput.IsKeyDown(KEY_RETURN));

    PushPadButton(7, true);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_P));
    PushPadButton(7, false);
    mInput.Update();
    EXPECT_FALSE(mInput.IsKeyDown(KEY_P));

    // East backs out like Escape: a quit request, reported once, no key changed.
    PushAxis(0, -20000);
    mInput.Update();
    PushPadButton(1, true);
    EXPECT_FALSE(mInput.Update());
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));
    PushPadButton(1, false);
    EXPECT_TRUE(mInput.Update());
}

TEST(InputPads, TheFirstDeviceWithAStickAndButtonsOrTheOneAskedFor)
{
    // Many laptops list their motion sensors first: 3 axes, no buttons.
    const std::vector<Pad_Info> laptop = {{3, 0}, {6, 11}, {2, 4}};
    EXPECT_EQ(ChoosePad(laptop, -1), 1);
    EXPECT_EQ(ChoosePad(laptop, 2), 2);
    EXPECT_EQ(ChoosePad(laptop, 3), 1); // asked for one that is not there
    EXPECT_EQ(ChoosePad({{3, 0}, {2, 3}}, -1), -1);
    EXPECT_EQ(ChoosePad({}, 0), -1);
}

TEST_F(InputTest, KeyboardAndPadShareTheKeys)
{
    RegisterPadKeys();
    // Steering with the stick, jumping with Space: the stick keeps steering.
    PushAxis(0, -32768);
    mInput.Update();
    PushKey(SDL_KEYDOWN, KEY_SPACE);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_SPACE));
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));
    PushKey(SDL_KEYUP, KEY_SPACE);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));
    PushAxis(0, 0);
    mInput.Update();

    // The pad's stick held left when it went away: its last word was "left".
    PushAxis(0, -32768);
    mInput.Update();
    ASSERT_TRUE(mInput.IsKeyDown(KEY_LEFT));
    PushKey(SDL_KEYDOWN, KEY_RIGHT);
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_RIGHT));
    EXPECT_FALSE(mInput.IsKeyDown(KEY_LEFT));
    PushKey(SDL_KEYUP, KEY_RIGHT);
    mInput.Update();
    EXPECT_FALSE(mInput.IsKeyDown(KEY_RIGHT));

    // Both holding a key: it stays down until both let go.
    PushKey(SDL_KEYDOWN, KEY_LEFT);
    mInput.Update();
    PushAxis(0, -32768);
    PushAxis(0, 0);
    mInput.Update();
    mInput.Update();
    EXPECT_TRUE(mInput.IsKeyDown(KEY_LEFT));
    PushKey(SDL_KEYUP, KEY_LEFT);
    mInput.Update();
    EXPECT_FALSE(mInput.IsKeyDown(KEY_LEFT));
}

TEST_F(InputTest, FullScreenKeysReachTheSwitchOnly)
{
    RegisterPadKeys();
    gToggles = 0;
    mInput.SetFullScreenToggle(CountToggle);
    PushKey(SDL_KEYDOWN, SDLK_F11);
    EXPECT_TRUE(mInput.Update());
    EXPECT_EQ(gToggles, 1);

    // Alt+Enter switches and is not an Enter for the menus.
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_RETURN;
    event.key.keysym.mod = KMOD_LALT;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
    EXPECT_TRUE(mInput.Update());
    EXPECT_EQ(gToggles, 2);
    EXPECT_FALSE(mInput.IsKeyDown(KEY_RETURN));

    PushKey(SDL_KEYDOWN, KEY_RETURN);
    mInput.Update();
    EXPECT_EQ(gToggles, 2);
    EXPECT_TRUE(mInput.IsKeyPressed(KEY_RETURN));
}

TEST_F(InputTest, UpdateBeforeInitChangesNothing)
{
    Input_Handler fresh;
    fresh.RegisterKey(KEY_LEFT);
    PushKey(SDL_KEYDOWN, KEY_LEFT);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(fresh.Update());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Input Handler is being updated without being init!\n");
    EXPECT_FALSE(fresh.IsKeyDown(KEY_LEFT));
    EXPECT_EQ(fresh.GetFrameCounter(), 0u);
}

TEST_F(InputTest, BadMouseRangeThrows)
{
    Input_Handler bad;
    try
    {
        bad.Init(800, 800);
        FAIL() << "no exception";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_EQ(std::string(e.what()), "Input Handler: x_max <= x_min !!");
    }
    EXPECT_FALSE(bad.IsInitialised());
}

TEST(InputVideoRestart, PointerEventsStayOffAfterVideoStarts)
{
    // The game sets up input before it opens the window, and starting SDL's video
    // forgets any event filter; the handler must notice and set its own again.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(0), 0);
    gMouseControl = false;
    Input_Handler input;
    input.Init(0, 800);
    input.RegisterKey(KEY_SPACE);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();

    // Escape pressed while the window was opening, behind a mouse move: setting the
    // filter must not lose it (a quit on the loading screen relies on it).
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&motion);
    PushKey(SDL_KEYDOWN, KEY_ESCAPE);
    EXPECT_FALSE(input.Update());
    EXPECT_EQ(SDL_PeepEvents(&motion, 1, SDL_PEEKEVENT, SDL_MOUSEMOTIONMASK), 0);

    // Pointer events are dropped as they come while steering by keyboard, and let in
    // while steering by mouse; keys always.
    const auto filter = SDL_GetEventFilter();
    ASSERT_NE(filter, nullptr);
    motion.type = SDL_MOUSEMOTION;
    SDL_Event key = {};
    key.type = SDL_KEYDOWN;
    EXPECT_EQ(filter(&motion), 0);
    EXPECT_EQ(filter(&key), 1);
    gMouseControl = true;
    EXPECT_EQ(filter(&motion), 1);
    gMouseControl = false;
    PushKey(SDL_KEYDOWN, KEY_SPACE);
    EXPECT_TRUE(input.Update());
    EXPECT_TRUE(input.IsKeyPressed(KEY_SPACE));

    // And again after the video device is closed and reopened.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_EQ(SDL_GetEventFilter(), nullptr);
    input.Update();
    EXPECT_EQ(SDL_GetEventFilter(), filter);
    SDL_Quit();
}

} // namespace
