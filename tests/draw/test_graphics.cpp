// Draws through the real window and reads the pixels back. Needs an X display
// (the test scripts run it under Xvfb).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include <SDL/SDL.h>
#include <GL/gl.h>

#include "Graphics/Animation.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "World/Camera.h"
#include "tests/support/Pixels.h"

namespace
{

using namespace test_pixels;

bool Near(const Rgb& a, const Rgb& b)
{
    return Within(a, b, 3);
}

const Rgb BLACK = {0, 0, 0};
const Rgb WHITE = {255, 255, 255};
const Rgb RED = {255, 0, 0};
const Rgb GREEN = {0, 255, 0};
const Rgb BLUE = {0, 0, 255};
const Rgb YELLOW = {255, 255, 0};

uint32_t MakeTexture(unsigned char r, unsigned char g, unsigned char b)
{
    unsigned char pixels[4 * 4];
    for (int i = 0; i < 4; ++i)
    {
        pixels[4 * i] = r;
        pixels[4 * i + 1] = g;
        pixels[4 * i + 2] = b;
        pixels[4 * i + 3] = 255;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    return name;
}

// Before the window exists nothing may reach GL (there is no context to reach).
TEST(GraphicsBeforeInit, ReportsAndDrawsNothing)
{
    Graphics graphics;
    Animation_Frame frame;
    testing::internal::CaptureStderr();
    graphics.DrawFrame(frame, Quad(0, 0, 0, 1, 1));
    graphics.DrawAnimation(Animation(), Quad());
    graphics.Render();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Graphics: Trying to draw without being init!\n"
                   "Graphics: Trying to draw without being init!\n"
                   "Graphics: Trying to render without being init\n");
    graphics.DrawTexturedQuad(Quad(0, 0, 0, 1, 1), Texture_Rect(), "NONE");
    graphics.PushColour(1, 1, 0, 0);
    graphics.PopColour();
    graphics.PopColour();
    graphics.SetFogColour(0.5f, 0.25f, 1.0f);
    graphics.EnableFog();
    graphics.RotateView(10.0f);
    EXPECT_FLOAT_EQ(graphics.GetFogColour()[1], 0.25f);
    EXPECT_FLOAT_EQ(graphics.GetFogColour()[3], 1.0f);
    EXPECT_EQ(graphics.GetColourDepth(), 0u);
}

class GraphicsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_NE(getenv("DISPLAY"), nullptr) << "needs an X display (run under xvfb-run)";
        ASSERT_TRUE(gGraphics.Init(false));
        Image_Entry& white = gImageBank.GetImage("WHITE");
        white.mTexture = MakeTexture(255, 255, 255);
        white.mWorldWidth = 0.4f;
        white.mWorldHeight = 0.4f;
        Image_Entry& test = gImageBank.GetImage("TEST");
        test.mTexture = MakeTexture(255, 255, 0);
        test.mWorldWidth = 0.5f;
        test.mWorldHeight = 0.25f;
    }

    static void TearDownTestSuite()
    {
        gGraphics.Shutdown();
        SDL_Quit();
    }

    // A new frame on the given clear colour.
    void NewFrame(float r, float g, float b)
    {
        gGraphics.Render();
        gGraphics.SetFogColour(r, g, b);
    }
};

TEST_F(GraphicsTest, WindowIsTheGamesWindow)
{
    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 800);
    EXPECT_EQ(screen->h, 600);
    EXPECT_TRUE(screen->flags & SDL_OPENGL);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "Zoomquest!");
    EXPECT_STREQ(icon, "ZQT");
    EXPECT_FLOAT_EQ(gGraphics.GetFogDensity(), 0.8f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogStart(), 3.0f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogEnd(), 20.0f);
    // Fog waits for EnableFog.
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(GraphicsTest, OnlyTheFirstDrawOfAFrameClears)
{
    NewFrame(1.0f, 0.0f, 0.0f);
    gGraphics.DrawTexturedQuad(Quad(-0.5f, 0.0f, 0.0f, 0.3f, 0.3f), Texture_Rect(), "TEST");
    EXPECT_PRED2(Near, ReadScene(-0.5f, 0.0f), YELLOW);
    EXPECT_PRED2(Near, ReadScene(0.5f, 0.0f), RED);

    gGraphics.DrawTexturedQuad(Quad(0.5f, 0.0f, 0.0f, 0.3f, 0.3f), Texture_Rect(), "TEST");
    EXPECT_PRED2(Near, ReadScene(-0.5f, 0.0f), YELLOW) << "the second draw cleared the first";
    EXPECT_PRED2(Near, ReadScene(0.5f, 0.0f), YELLOW);

    // The next frame clears again, in whatever colour is then in force.
    NewFrame(0.0f, 0.0f, 1.0f);
    gGraphics.DrawTexturedQuad(Quad(0.5f, 0.0f, 0.0f, 0.3f, 0.3f), Texture_Rect(), "TEST");
    EXPECT_PRED2(Near, ReadScene(-0.5f, 0.0f), BLUE);
    EXPECT_PRED2(Near, ReadScene(0.5f, 0.0f), YELLOW);
}

TEST_F(GraphicsTest, ClearColourFollowsTheFog)
{
    NewFrame(1.0f, 1.0f, 1.0f);
    gGraphics.DrawTexturedQuad(Quad(0.0f, 0.0f, 0.0f, 0.2f, 0.2f), Texture_Rect(), "TEST");
    EXPECT_PRED2(Near, ReadScene(0.8f, 0.6f), WHITE);
    EXPECT_FLOAT_EQ(gGraphics.GetFogColour()[0], 1.0f);

    gGraphics.Render();
    gGraphics.DisableFog();
    gGraphics.DrawTexturedQuad(Quad(0.0f, 0.0f, 0.0f, 0.2f, 0.2f), Texture_Rect(), "TEST");
    EXPECT_PRED2(Near, ReadScene(0.8f, 0.6f), BLACK);

    // Enabling fog again does not bring the colour back; setting one does.
    gGraphics.Render();
    gGraphics.EnableFog();
    gGraphics.DrawTexturedQuad(Quad(0.0f, 0.0f, 0.0f, 0.2f, 0.2f), Texture_Rect(), "TEST");
    EXPECT_PRED2(Near, ReadScene(0.8f, 0.6f), BLACK);
    gGraphics.DisableFog();
}

TEST_F(GraphicsTest, InnermostColourIsInForce)
{
    NewFrame(0.0f, 0.0f, 0.0f);
    const Quad left(-0.6f, 0.0f, 0.0f, 0.3f, 0.3f), middle(0.0f, 0.0f, 0.0f, 0.3f, 0.3f),
        right(0.6f, 0.0f, 0.0f, 0.3f, 0.3f), top(0.0f, 0.6f, 0.0f, 0.3f, 0.3f);

    gGraphics.PushColour(1.0f, 0.0f, 1.0f, 0.0f);
    gGraphics.PushColour(1.0f, 0.0f, 0.0f, 1.0f);
    gGraphics.DrawTexturedQuad(left, Texture_Rect(), "WHITE");
    gGraphics.PopColour();
    gGraphics.DrawTexturedQuad(middle, Texture_Rect(), "WHITE");
    gGraphics.PopColour();
    gGraphics.DrawTexturedQuad(right, Texture_Rect(), "WHITE");
    gGraphics.PopColour(); // one too many: still white
    gGraphics.DrawTexturedQuad(top, Texture_Rect(), "WHITE");

    EXPECT_PRED2(Near, ReadScene(-0.6f, 0.0f), BLUE);
    EXPECT_PRED2(Near, ReadScene(0.0f, 0.0f), GREEN);
    EXPECT_PRED2(Near, ReadScene(0.6f, 0.0f), WHITE);
    EXPECT_PRED2(Near, ReadScene(0.0f, 0.6f), WHITE);
    EXPECT_EQ(gGraphics.GetColourDepth(), 0u);
}

TEST_F(GraphicsTest, TintsNestAndReplace)
{
    NewFrame(0.0f, 0.0f, 0.0f);
    Animation animation;
    animation.mSets.resize(1);
    animation.mSets[0].mFrames.resize(1);
    animation.mSets[0].mFrames[0].SetImage("WHITE");
    animation.mTint.Set(1.0f, 1.0f, 0.0f, 0.0f);

    // A disabled tint inside an enabled one leaves the outer colour.
    gGraphics.DrawAnimation(animation, Quad(-0.6f, 0.0f, 0.0f, 0.3f, 0.3f));
    EXPECT_PRED2(Near, ReadScene(-0.6f, 0.0f), RED);

    // The innermost enabled tint wins; they do not multiply.
    animation.mSets[0].mFrames[0].mTint.Set(1.0f, 0.0f, 1.0f, 0.0f);
    gGraphics.DrawAnimation(animation, Quad(0.0f, 0.0f, 0.0f, 0.3f, 0.3f));
    EXPECT_PRED2(Near, ReadScene(0.0f, 0.0f), GREEN);

    // Alpha makes the image see-through.
    animation.mTint.mEnabled = false;
    animation.mSets[0].mFrames[0].mTint.Set(0.5f, 1.0f, 1.0f, 1.0f);
    gGraphics.DrawAnimation(animation, Quad(0.6f, 0.0f, 0.0f, 0.3f, 0.3f));
    EXPECT_PRED2(Near, ReadScene(0.6f, 0.0f), (Rgb{128, 128, 128}));

    EXPECT_EQ(gGraphics.GetColourDepth(), 0u);
    // After the tinted draws the colour is white again.
    gGraphics.DrawTexturedQuad(Quad(0.0f, 0.6f, 0.0f, 0.3f, 0.3f), Texture_Rect(), "WHITE");
    EXPECT_PRED2(Near, ReadScene(0.0f, 0.6f), WHITE);
}

TEST_F(GraphicsTest, BoxLandsWhereTheCameraSays)
{
    Camera camera;
    camera.Init(0.0f, 1000.0f, 300.0f, 1.0f, 500.0f);
    for (float z : {299.0f, 304.0f, 320.0f})
    {
        NewFrame(0.0f, 0.0f, 0.0f);
        const Quad quad = camera.ProjectBox(0.3f, 0.7f, 0.1f, 0.2f, z);
        gGraphics.DrawTexturedQuad(quad, Texture_Rect(), "TEST");

        float left, top, right, bottom;
        ToWindow(quad.mTopLeft[0], quad.mTopLeft[1], quad.mZ, left, top);
        ToWindow(quad.mBottomRight[0], quad.mBottomRight[1], quad.mZ, right, bottom);
        ASSERT_GT(right - left, 6.0f) << "box too small to test at z " << z;
        const int cx = static_cast<int>((left + right) / 2), cy = static_cast<int>((top + bottom) / 2);
        const int l = static_cast<int>(left), r = static_cast<int>(right);
        const int t = static_cast<int>(top), b = static_cast<int>(bottom);
        EXPECT_PRED2(Near, ReadWindow(cx, cy), YELLOW) << "centre at z " << z;
        EXPECT_PRED2(Near, ReadWindow(l + 2, t - 2), YELLOW) << "top-left at z " << z;
        EXPECT_PRED2(Near, ReadWindow(r - 2, b + 2), YELLOW) << "bottom-right at z " << z;
        EXPECT_PRED2(Near, ReadWindow(l - 3, cy), BLACK) << "left of the box at z " << z;
        EXPECT_PRED2(Near, ReadWindow(r + 3, cy), BLACK) << "right of the box at z " << z;
        EXPECT_PRED2(Near, ReadWindow(cx, t + 3), BLACK) << "above the box at z " << z;
        EXPECT_PRED2(Near, ReadWindow(cx, b - 3), BLACK) << "below the box at z " << z;
    }
}

TEST_F(GraphicsTest, FrameAtTakesTheImagesWorldSize)
{
    NewFrame(0.0f, 0.0f, 0.0f);
    Animation_Frame frame("TEST");
    gGraphics.DrawFrameAt(frame, 0.3f, 0.2f, 0.0f); // 0.5 wide, 0.25 high
    EXPECT_PRED2(Near, ReadScene(0.3f, 0.2f), YELLOW);
    EXPECT_PRED2(Near, ReadScene(0.07f, 0.2f), YELLOW);
    EXPECT_PRED2(Near, ReadScene(0.53f, 0.2f), YELLOW);
    EXPECT_PRED2(Near, ReadScene(0.58f, 0.2f), BLACK);
    EXPECT_PRED2(Near, ReadScene(0.3f, 0.3f), YELLOW);
    EXPECT_PRED2(Near, ReadScene(0.3f, 0.35f), BLACK);

    // A key the bank does not know is an empty image: nothing shows.
    NewFrame(0.0f, 0.0f, 0.0f);
    Animation_Frame missing("NOT_AN_IMAGE");
    gGraphics.DrawFrameAt(missing, 0.0f, 0.0f, 0.0f);
    EXPECT_PRED2(Near, ReadScene(0.0f, 0.0f), BLACK);
}

TEST_F(GraphicsTest, RotationTurnsAboutTheQuadsCentre)
{
    NewFrame(0.0f, 0.0f, 0.0f);
    Animation_Frame frame("WHITE");
    frame.mRotation.Set(90.0f, 0.0f, 0.0f, 1.0f);
    // A wide bar right of centre, turned upright where it stands.
    gGraphics.DrawFrame(frame, Quad(0.5f, 0.0f, 0.0f, 1.0f, 0.2f));
    EXPECT_PRED2(Near, ReadScene(0.5f, 0.4f), WHITE);
    EXPECT_PRED2(Near, ReadScene(0.5f, -0.4f), WHITE);
    EXPECT_PRED2(Near, ReadScene(0.9f, 0.0f), BLACK);
    EXPECT_PRED2(Near, ReadScene(0.0f, 0.5f), BLACK);

    // Scaled about its centre: twice as wide, same middle.
    NewFrame(0.0f, 0.0f, 0.0f);
    Animation_Frame scaled("WHITE");
    scaled.mScale.Set(2.0f, 1.0f, 1.0f);
    gGraphics.DrawFrame(scaled, Quad(0.5f, 0.0f, 0.0f, 0.4f, 0.2f));
    EXPECT_PRED2(Near, ReadScene(0.85f, 0.0f), WHITE);
    EXPECT_PRED2(Near, ReadScene(0.15f, 0.0f), WHITE);
    EXPECT_PRED2(Near, ReadScene(-0.2f, 0.0f), BLACK);
}

TEST_F(GraphicsTest, ViewTurnLastsOneFrame)
{
    NewFrame(0.0f, 0.0f, 0.0f);
    gGraphics.RotateView(180.0f);
    gGraphics.DrawTexturedQuad(Quad(0.5f, 0.3f, 0.0f, 0.3f, 0.3f), Texture_Rect(), "WHITE");
    EXPECT_PRED2(Near, ReadScene(-0.5f, -0.3f), WHITE);
    EXPECT_PRED2(Near, ReadScene(0.5f, 0.3f), BLACK);

    NewFrame(0.0f, 0.0f, 0.0f);
    gGraphics.DrawTexturedQuad(Quad(0.5f, 0.3f, 0.0f, 0.3f, 0.3f), Texture_Rect(), "WHITE");
    EXPECT_PRED2(Near, ReadScene(0.5f, 0.3f), WHITE);
    EXPECT_PRED2(Near, ReadScene(-0.5f, -0.3f), BLACK);
}

// A display that has no full screen to give, as after a kept full screen moved to
// another machine.
void* RefuseFullScreen(int width, int height, int bitsPerPixel, uint32_t flags)
{
    if (flags & SDL_FULLSCREEN)
    {
        SDL_SetError("no such mode");
        return nullptr;
    }
    return SDL_SetVideoMode(width, height, bitsPerPixel, flags);
}

TEST(GraphicsFullScreen, RefusedFullScreenPlaysInAWindowAndSaysSoOnce)
{
    Graphics::SetVideoModeOpener(RefuseFullScreen);
    testing::internal::CaptureStderr();
    const bool opened = gGraphics.Init(true);
    const std::string said = testing::internal::GetCapturedStderr();
    Graphics::SetVideoModeOpener(nullptr);
    EXPECT_TRUE(opened);
    EXPECT_FALSE(gGraphics.IsFullScreen());
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 800);
    gGraphics.Shutdown();
    SDL_Quit();
}

} // namespace
