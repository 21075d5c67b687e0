#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include <SDL/SDL.h>

#include "Core/Globals.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "tests/support/Key_Pusher.h"

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
    // turns every event type back on; the handler must notice and switch them off.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(0), 0);
    Input_Handler input;
    input.Init(0, 800);
    input.RegisterKey(KEY_SPACE);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    EXPECT_EQ(SDL_EventState(SDL_MOUSEMOTION, SDL_QUERY), SDL_ENABLE);

    // Escape pressed while the window was opening, behind a mouse move: switching the
    // pointer events off must not lose it (a quit on the loading screen relies on it).
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&motion);
    PushKey(SDL_KEYDOWN, KEY_ESCAPE);
    EXPECT_FALSE(input.Update());
    EXPECT_EQ(SDL_EventState(SDL_MOUSEMOTION, SDL_QUERY), SDL_IGNORE);
    EXPECT_EQ(SDL_EventState(SDL_MOUSEBUTTONDOWN, SDL_QUERY), SDL_IGNORE);
    EXPECT_EQ(SDL_EventState(SDL_MOUSEBUTTONUP, SDL_QUERY), SDL_IGNORE);

    // Once off, polling leaves queued keys alone.
    PushKey(SDL_KEYDOWN, KEY_SPACE);
    EXPECT_TRUE(input.Update());
    EXPECT_TRUE(input.IsKeyPressed(KEY_SPACE));

    // And again after the video device is closed and reopened.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    input.Update();
    EXPECT_EQ(SDL_EventState(SDL_MOUSEMOTION, SDL_QUERY), SDL_IGNORE);
    SDL_Quit();
}

} // namespace
