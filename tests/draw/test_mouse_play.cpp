// Steering with the mouse through a real X pointer: the runner follows the pointer across
// the window, and the left button (only the left) jumps. Needs an X display and xdotool
// (the test scripts run it under Xvfb). Also a key that must survive the switch of pointer events.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>

#include "Core/Constants.h"
#include "Core/Globals.h"
#include "Entities/Player.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Camera.h"

namespace
{

// Frames of input until the condition holds, for at most two seconds: what the X server
// sends reaches SDL when it next looks at its queue.
bool UpdateUntil(const std::function<bool()>& done)
{
    for (int i = 0; i < 200; ++i)
    {
        gInput.Update();
        if (done())
            return true;
        SDL_Delay(10);
    }
    return false;
}

bool PointerAt(float fraction)
{
    return UpdateUntil([fraction] { return gInput.GetMouseFraction() == fraction; });
}

class Mouse_Play : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_NE(getenv("DISPLAY"), nullptr) << "needs an X display (run under xvfb-run)";
        ASSERT_TRUE(gGraphics.Init(false));
        gInput.Init(0, SCREEN_WIDTH);
        gInput.SetMouseRangeSource(PictureAcross);
    }
    void SetUp() override
    {
        gKeyboardControl = false;
        gMouseControl = true;
        gCamera.Init(0.0f, 1000.0f, 0.0f, 1.0f, 500.0f);
        player.Init();
        player.mHalfWidth = 0.1f;
        player.mHalfHeight = 0.2f;
        gCamera.SetPosition(player.mZ);
    }
    void TearDown() override
    {
        std::system("xdotool mouseup 1 mouseup 3");
        gKeyboardControl = true;
        gMouseControl = false;
    }
    Player player;
};

} // namespace

TEST_F(Mouse_Play, RunnerFollowsThePointerUpToTheWalls)
{
    SDL_WarpMouse(600, 300);
    ASSERT_TRUE(PointerAt(0.75f)) << gInput.GetMouseFraction();
    player.Update(gInput);
    EXPECT_FLOAT_EQ(0.75f, player.mX);

    SDL_WarpMouse(200, 300);
    ASSERT_TRUE(PointerAt(0.25f)) << gInput.GetMouseFraction();
    player.Update(gInput);
    EXPECT_FLOAT_EQ(0.25f, player.mX);

    // At the very edge the runner stops half its width from the wall.
    SDL_WarpMouse(8, 300);
    ASSERT_TRUE(PointerAt(0.01f)) << gInput.GetMouseFraction();
    player.Update(gInput);
    EXPECT_FLOAT_EQ(0.1f, player.mX);
    EXPECT_NE(1, player.mJumpState) << "no button was pressed";
}

TEST_F(Mouse_Play, InAWiderWindowThePointerSteersAcrossThePictureNotTheBars)
{
    // The picture is 800 wide in the middle of 1200: 200 pixels of bar on either side.
    gGraphics.ResizeWindow(1200, 600);
    SDL_WarpMouse(800, 300);
    ASSERT_TRUE(PointerAt(0.75f)) << gInput.GetMouseFraction();
    player.Update(gInput);
    EXPECT_FLOAT_EQ(0.75f, player.mX);
    // In a bar: as far as the runner goes, not beyond.
    SDL_WarpMouse(100, 300);
    ASSERT_TRUE(PointerAt(-0.125f)) << gInput.GetMouseFraction();
    player.Update(gInput);
    EXPECT_FLOAT_EQ(0.1f, player.mX);
    gGraphics.ResizeWindow(800, 600);
    SDL_WarpMouse(400, 300);
    ASSERT_TRUE(PointerAt(0.5f)) << gInput.GetMouseFraction();
}

TEST_F(Mouse_Play, LeftButtonJumpsTheRightDoesNot)
{
    SDL_WarpMouse(400, 300);
    ASSERT_TRUE(PointerAt(0.5f)) << gInput.GetMouseFraction();

    ASSERT_EQ(0, std::system("xdotool mousedown 3"));
    ASSERT_TRUE(UpdateUntil([] { return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(3)) != 0; }))
        << "the right button never arrived";
    gInput.Update();
    EXPECT_FALSE(gInput.IsLeftButtonDown());
    player.Update(gInput);
    EXPECT_NE(1, player.mJumpState);
    ASSERT_EQ(0, std::system("xdotool mouseup 3"));

    ASSERT_EQ(0, std::system("xdotool mousedown 1"));
    ASSERT_TRUE(UpdateUntil([] { return gInput.IsLeftButtonDown(); })) << "the left button never counted";
    player.Update(gInput);
    EXPECT_EQ(1, player.mJumpState);
    EXPECT_FLOAT_EQ(0.5f, player.mX);
}

TEST_F(Mouse_Play, KeysSurviveThePointerFilterAndTheMouseQueuesNothing)
{
    // SDL forgets the filter when its video restarts; the next poll sets it again, and
    // setting it pumps the window system and empties the queue. Keys the X server has
    // sent but SDL has not read yet (pressed as the window opened), behind a moving
    // mouse, must survive it, and the mouse's events must not be queued.
    gMouseControl = false;
    gInput.RegisterKey(KEY_SPACE);
    gInput.RegisterKey(KEY_LEFT);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_EQ(SDL_GetWMInfo(&info), 1) << SDL_GetError();
    SDL_SetEventFilter(nullptr);
    const std::string window = std::to_string(info.info.x11.window);
    const std::string send = "xdotool mousemove --window " + window + " 100 100 mousemove --window " +
                             window + " 300 200 key --window " + window + " space mousemove --window " +
                             window + " 500 300 key --window " + window + " Left";
    ASSERT_EQ(std::system(send.c_str()), 0);
    SDL_Delay(100); // in SDL's socket, not yet in its queue
    gInput.Update();
    EXPECT_TRUE(gInput.IsKeyPressed(KEY_SPACE)) << "the key was thrown away with the filter's setting";
    SDL_Event event;
    EXPECT_EQ(SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_MOUSEMOTIONMASK), 0);
    bool left = false;
    for (int frame = 0; frame < 4 && !left; ++frame)
    {
        gInput.Update();
        left = gInput.IsKeyPressed(KEY_LEFT);
    }
    EXPECT_TRUE(left) << "the second key was lost";
}
