// The fill shortcuts (opaque images drawn without blending, clear texels skipped)
// must leave the picture exactly as plain blending paints it. Needs an X display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <SDL/SDL.h>
#include <GL/gl.h>

#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "tests/support/Pixels.h"

namespace
{

using namespace test_pixels;

bool Near(const Rgb& a, const Rgb& b)
{
    return Within(a, b, 2);
}

const Rgb WHITE = {255, 255, 255};
const Rgb RED = {255, 0, 0};
const Rgb GREEN = {0, 255, 0};

class Fill_State : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_NE(getenv("DISPLAY"), nullptr) << "needs an X display (run under xvfb-run)";
        ASSERT_TRUE(gGraphics.Init(false));
        ASSERT_TRUE(gImageBank.LoadImage("WHITE", "tests/data/", "white_4x4.png"));
        ASSERT_TRUE(gImageBank.LoadImage("HALF", "tests/data/", "red_4x2.png")); // right half clear
        ASSERT_TRUE(gImageBank.LoadImage("GREY", "tests/data/", "grey_5x2.png"));
        ASSERT_TRUE(gImageBank.LoadImage("PALETTE", "tests/data/", "palette_3x3.png"));
        ASSERT_TRUE(gImageBank.LoadImage("BMP", "tests/data/", "bgr24_3x3.bmp"));
        ASSERT_TRUE(gImageBank.LoadImage("FRAME", "tests/data/", "frame_320x240.png")); // mostly clear
    }

    static void TearDownTestSuite()
    {
        gGraphics.Shutdown();
        SDL_Quit();
    }

    // A new frame cleared to green, without fog.
    void NewFrame()
    {
        gGraphics.Render();
        gGraphics.DisableFog();
        gGraphics.SetFogColour(0.0f, 1.0f, 0.0f);
    }

    // The half-clear image spans x -0.4..0.4: red on the left, clear on the right.
    void DrawHalf() { gGraphics.DrawTexturedQuad(Quad(0, 0, 0, 0.8f, 0.4f), Texture_Rect(), "HALF"); }
};

TEST_F(Fill_State, ImagesKnowWhetherEveryTexelIsOpaque)
{
    EXPECT_TRUE(gImageBank.GetImage("WHITE").mOpaque);
    EXPECT_FALSE(gImageBank.GetImage("HALF").mOpaque);
    // Grey, palette and 24-bit files have no alpha of their own.
    EXPECT_TRUE(gImageBank.GetImage("GREY").mOpaque);
    EXPECT_TRUE(gImageBank.GetImage("PALETTE").mOpaque);
    EXPECT_TRUE(gImageBank.GetImage("BMP").mOpaque);
    EXPECT_FALSE(gImageBank.GetImage("NOT LOADED").mOpaque);

    // A second key on the same file shares the texture and what is known of it; a key
    // loaded again with another file learns anew.
    ASSERT_TRUE(gImageBank.LoadImage("HALF AGAIN", "tests/data/", "red_4x2.png"));
    EXPECT_EQ(gImageBank.GetImage("HALF AGAIN").mTexture, gImageBank.GetImage("HALF").mTexture);
    EXPECT_FALSE(gImageBank.GetImage("HALF AGAIN").mOpaque);
    ASSERT_TRUE(gImageBank.LoadImage("SWAPPED", "tests/data/", "white_4x4.png"));
    EXPECT_TRUE(gImageBank.GetImage("SWAPPED").mOpaque);
    ASSERT_TRUE(gImageBank.LoadImage("SWAPPED", "tests/data/", "red_4x2.png"));
    EXPECT_FALSE(gImageBank.GetImage("SWAPPED").mOpaque);
}

TEST_F(Fill_State, ClearTexelsLeaveWhatIsBeneathExactly)
{
    NewFrame();
    DrawHalf();
    EXPECT_PRED2(Near, ReadScene(-0.2f, 0.0f), RED);
    EXPECT_EQ(ReadScene(0.2f, 0.0f), GREEN);

    // Also in fog, and over an opaque image drawn just before.
    NewFrame();
    gGraphics.EnableFog();
    gGraphics.SetFogColour(0.0f, 1.0f, 0.0f);
    gGraphics.SetFogParameters(0.8f, 0.5f, 5.0f);
    gGraphics.DrawTexturedQuad(Quad(0, 0, 0, 1.0f, 1.0f), Texture_Rect(), "WHITE");
    const Rgb fogged = ReadScene(0.2f, 0.0f);
    DrawHalf();
    EXPECT_EQ(ReadScene(0.2f, 0.0f), fogged);
    gGraphics.SetFogParameters(0.8f, 3.0f, 20.0f);
}

TEST_F(Fill_State, OpaqueImagesCoverAndBlendingComesBack)
{
    // An opaque image in an opaque colour replaces what is beneath.
    NewFrame();
    DrawHalf();
    gGraphics.DrawTexturedQuad(Quad(-0.2f, 0, 0, 0.2f, 0.2f), Texture_Rect(), "WHITE");
    EXPECT_EQ(ReadScene(-0.2f, 0.0f), WHITE);

    // After it, a half-transparent colour still blends, and clear texels still show
    // what is beneath.
    gGraphics.PushColour(0.5f, 1.0f, 1.0f, 1.0f);
    DrawHalf();
    gGraphics.PopColour();
    EXPECT_PRED2(Near, ReadScene(-0.2f, 0.0f), (Rgb{255, 128, 128}));
    EXPECT_EQ(ReadScene(0.2f, 0.0f), GREEN);

    // The same opaque image in a half-transparent colour blends too.
    gGraphics.PushColour(0.5f, 1.0f, 1.0f, 1.0f);
    gGraphics.DrawTexturedQuad(Quad(0.2f, 0, 0, 0.2f, 0.2f), Texture_Rect(), "WHITE");
    gGraphics.PopColour();
    EXPECT_PRED2(Near, ReadScene(0.2f, 0.0f), (Rgb{128, 255, 128}));
}

TEST_F(Fill_State, NestedColoursDecideByTheInnermost)
{
    // An opaque inner colour inside a transparent outer one covers; the other way
    // round it blends.
    NewFrame();
    gGraphics.PushColour(0.5f, 1.0f, 1.0f, 1.0f);
    gGraphics.PushColour(1.0f, 1.0f, 0.0f, 0.0f);
    gGraphics.DrawTexturedQuad(Quad(-0.2f, 0, 0, 0.2f, 0.2f), Texture_Rect(), "WHITE");
    gGraphics.PopColour();
    gGraphics.DrawTexturedQuad(Quad(0.2f, 0, 0, 0.2f, 0.2f), Texture_Rect(), "WHITE");
    gGraphics.PopColour();
    EXPECT_EQ(ReadScene(-0.2f, 0.0f), RED);
    EXPECT_PRED2(Near, ReadScene(0.2f, 0.0f), (Rgb{128, 255, 128}));
}

// The whole window, as bytes.
std::vector<unsigned char> ReadWindow()
{
    std::vector<unsigned char> p(800 * 600 * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return p;
}

TEST_F(Fill_State, MostlyClearImagesInPartsPaintTheSamePicture)
{
    const Image_Entry& frame = gImageBank.GetImage("FRAME");
    ASSERT_FALSE(frame.mParts.empty());
    EXPECT_TRUE(gImageBank.GetImage("HALF").mParts.empty()); // too small to be worth it

    // Whole, mirrored, a piece, and turned about its centre; over an opaque image.
    const Texture_Rect rects[] = {Texture_Rect(), Texture_Rect(1, 0, 0, 1),
                                  Texture_Rect(0.3f, 0.1f, 0.9f, 0.7f)};
    for (const Texture_Rect& rect : rects)
        for (float angle : {0.0f, 33.0f})
        {
            std::vector<unsigned char> pictures[2];
            for (int inParts = 0; inParts < 2; ++inParts)
            {
                gGraphics.SetDrawInParts(inParts != 0);
                NewFrame();
                gGraphics.DrawTexturedQuad(Quad(0.3f, 0.1f, 0, 1.0f, 1.0f), Texture_Rect(), "WHITE");
                glPushMatrix();
                glRotatef(angle, 0, 0, 1);
                gGraphics.DrawTexturedQuad(Quad(0.1f, 0, 0, 2.6f, 1.7f), rect, "FRAME");
                glPopMatrix();
                pictures[inParts] = ReadWindow();
            }
            gGraphics.SetDrawInParts(true);
            int differ = 0, painted = 0;
            for (size_t i = 0; i < pictures[0].size(); i += 4)
            {
                bool same = true;
                for (size_t c = 0; c < 3; ++c)
                    same = same && std::abs(pictures[0][i + c] - pictures[1][i + c]) <= 2;
                differ += !same;
                painted += pictures[0][i] != 0 || pictures[0][i + 1] != 255 || pictures[0][i + 2] != 0;
            }
            EXPECT_EQ(differ, 0) << "rect " << rect.mLeft << "," << rect.mTop << " angle " << angle;
            EXPECT_GT(painted, 10000); // the frame is there at all
        }
}

TEST_F(Fill_State, ALookLaidOverAnotherInOneDrawPaintsWhatTwoDrawsPaint)
{
    ASSERT_TRUE(gImageBank.LoadImage("CAVE FLOOR", "Data/Images/", "floor.png"));
    ASSERT_TRUE(gImageBank.LoadImage("LAVA FLOOR", "Data/Images/", "floor_lava.png"));
    const float alpha = 59.0f / 60.0f; // where a level's look settles
    // A floor running into the fog, in a tinted colour, as the corridor draws it.
    const Quad floor = []
    {
        Quad q;
        const float corners[4][3] = {{-1.3f, -1, -40}, {-1.3f, -1, 0}, {1.3f, -1, 0}, {1.3f, -1, -40}};
        std::copy(corners[0], corners[0] + 3, q.mTopLeft);
        std::copy(corners[1], corners[1] + 3, q.mBottomLeft);
        std::copy(corners[2], corners[2] + 3, q.mBottomRight);
        std::copy(corners[3], corners[3] + 3, q.mTopRight);
        return q;
    }();
    const Texture_Rect rect(0.0f, -6.0f, 1.0f, 0.7f);

    // 0: two draws, 1: one draw of a lasting blend, 2: one draw of a passing one (as
    // during a fade, which is drawn in white only).
    const auto paint = [&](int way, float green, float blue)
    {
        NewFrame();
        gGraphics.EnableFog();
        gGraphics.SetFogColour(0.2f, 0.1f, 0.05f);
        gGraphics.SetFogParameters(0.8f, 3.0f, 20.0f);
        gGraphics.PushColour(1.0f, 1.0f, green, blue);
        if (way == 0)
        {
            gGraphics.DrawTexturedQuad(floor, rect, "CAVE FLOOR");
            gGraphics.PushColour(alpha, 1.0f, green, blue);
            gGraphics.DrawTexturedQuad(floor, rect, "LAVA FLOOR");
            gGraphics.PopColour();
        }
        else
            EXPECT_TRUE(
                gGraphics.DrawCrossfadeQuad(floor, rect, "CAVE FLOOR", "LAVA FLOOR", alpha, way == 1));
        gGraphics.PopColour();
        gGraphics.SetFogParameters(0.8f, 3.0f, 20.0f);
        return ReadWindow();
    };
    const auto differing = [](const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
    {
        int differ = 0;
        for (size_t i = 0; i < a.size(); i += 4)
            for (size_t c = 0; c < 3; ++c)
                differ += std::abs(a[i + c] - b[i + c]) > 2;
        return differ;
    };
    const std::vector<unsigned char> tinted = paint(0, 0.7f, 0.9f), white = paint(0, 1.0f, 1.0f);
    EXPECT_EQ(differing(tinted, paint(1, 0.7f, 0.9f)), 0);
    EXPECT_EQ(differing(white, paint(1, 1.0f, 1.0f)), 0);
    EXPECT_EQ(differing(white, paint(2, 1.0f, 1.0f)), 0);
    int floorPixels = 0;
    for (size_t i = 0; i < white.size(); i += 4)
        floorPixels += white[i + 1] != 255;
    EXPECT_GT(floorPixels, 100000);

    // Where one draw cannot give that picture it draws nothing and says so: a clear
    // texel, a see-through colour, a tinted passing blend, a tinted lasting one of
    // images of other sizes.
    EXPECT_FALSE(gGraphics.DrawCrossfadeQuad(floor, rect, "CAVE FLOOR", "HALF", alpha, true));
    gGraphics.PushColour(0.5f, 1.0f, 1.0f, 1.0f);
    EXPECT_FALSE(gGraphics.DrawCrossfadeQuad(floor, rect, "CAVE FLOOR", "LAVA FLOOR", alpha, true));
    gGraphics.PopColour();
    gGraphics.PushColour(1.0f, 1.0f, 0.5f, 1.0f);
    EXPECT_FALSE(gGraphics.DrawCrossfadeQuad(floor, rect, "CAVE FLOOR", "LAVA FLOOR", alpha, false));
    EXPECT_FALSE(gGraphics.DrawCrossfadeQuad(floor, rect, "CAVE FLOOR", "WHITE", alpha, true));
    gGraphics.PopColour();

    // Without OpenGL 1.3 (forced here) a passing blend is left to the two draws, and
    // draws nothing itself; a lasting one is a texture of its own and needs no more.
    ASSERT_TRUE(gGraphics.HasOnePassBlend()) << "this driver has OpenGL 1.3";
    gGraphics.SetOnePassBlend(false);
    NewFrame();
    DrawHalf(); // clears the frame
    EXPECT_FALSE(gGraphics.DrawCrossfadeQuad(floor, rect, "CAVE FLOOR", "LAVA FLOOR", alpha, false));
    EXPECT_EQ(ReadScene(0.0f, -1.0f, -5.0f), GREEN);
    const bool lasting = gGraphics.DrawCrossfadeQuad(floor, rect, "CAVE FLOOR", "LAVA FLOOR", alpha, true);
    gGraphics.SetOnePassBlend(true);
    EXPECT_TRUE(lasting);

    // A new window: the blends made for the old one go with it, and are made again alike.
    EXPECT_EQ(gGraphics.Textures().CrossfadeCount(), 1u); // one for every colour
    ASSERT_TRUE(gGraphics.SetFullScreen(false, true));
    EXPECT_EQ(gGraphics.Textures().CrossfadeCount(), 0u);
    EXPECT_EQ(differing(white, paint(1, 1.0f, 1.0f)), 0);
    EXPECT_EQ(gGraphics.Textures().CrossfadeCount(), 1u);
}

TEST_F(Fill_State, AKeptPictureComesBackPixelForPixelUntilTheWindowIsMadeAnew)
{
    // A fogged, blended scene under a turned view, as the world behind a menu.
    NewFrame();
    gGraphics.EnableFog();
    gGraphics.SetFogColour(0.2f, 0.1f, 0.05f);
    gGraphics.SetFogParameters(0.8f, 0.5f, 5.0f);
    gGraphics.RotateView(10.0f);
    gGraphics.DrawTexturedQuad(Quad(0, 0, -1.0f, 2.0f, 1.5f), Texture_Rect(), "PALETTE");
    gGraphics.PushColour(0.6f, 1.0f, 1.0f, 1.0f);
    DrawHalf();
    gGraphics.PopColour();
    const std::vector<unsigned char> scene = ReadWindow();
    ASSERT_TRUE(gGraphics.KeepPicture());

    // Another frame, with another clear colour and the view turned otherwise: the copy
    // covers it all, and what is drawn after it still blends and fogs as before.
    NewFrame();
    gGraphics.EnableFog();
    gGraphics.SetFogColour(0.0f, 0.0f, 1.0f);
    gGraphics.RotateView(-30.0f);
    ASSERT_TRUE(gGraphics.DrawKeptPicture());
    EXPECT_EQ(ReadWindow(), scene);
    DrawHalf();
    gGraphics.DisableFog();
    gGraphics.SetFogParameters(0.8f, 3.0f, 20.0f);

    NewFrame();
    gGraphics.ForgetPicture();
    EXPECT_FALSE(gGraphics.DrawKeptPicture());
    ASSERT_TRUE(gGraphics.KeepPicture());
    // A new window has a new GL context: the copy went with the old one.
    ASSERT_TRUE(gGraphics.SetFullScreen(false, true));
    EXPECT_FALSE(gGraphics.DrawKeptPicture());
    NewFrame();
    DrawHalf();
    const std::vector<unsigned char> again = ReadWindow();
    ASSERT_TRUE(gGraphics.KeepPicture());
    NewFrame();
    ASSERT_TRUE(gGraphics.DrawKeptPicture());
    EXPECT_EQ(ReadWindow(), again);
}

} // namespace

namespace
{

// The whole window of the given size, as bytes.
std::vector<unsigned char> ReadWindowOf(int width, int height, GLenum buffer = GL_BACK)
{
    std::vector<unsigned char> p(static_cast<size_t>(width) * height * 4);
    glReadBuffer(buffer);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return p;
}

Rgb At(const std::vector<unsigned char>& window, int width, int x, int y)
{
    const unsigned char* p = &window[(static_cast<size_t>(y) * width + x) * 4];
    return Rgb{p[0], p[1], p[2]};
}

const Rgb BLACK = {0, 0, 0};

TEST_F(Fill_State, AnyWindowShowsThePictureCentredWithBlackBarsDrawnSharpOrScaledUp)
{
    // Wider than 4:3: bars left and right; the picture's own clear inside, and a white
    // square in its middle. A kept picture comes back in the same place.
    gGraphics.ResizeWindow(1000, 600);
    const Picture_Rect wide = gGraphics.GetPicture();
    EXPECT_EQ(wide.mX, 100);
    EXPECT_EQ(wide.mWidth, 800);
    NewFrame();
    gGraphics.DrawTexturedQuad(Quad(0, 0, 0, 0.4f, 0.4f), Texture_Rect(), "WHITE");
    const std::vector<unsigned char> scene = ReadWindowOf(1000, 600);
    EXPECT_EQ(At(scene, 1000, 50, 300), BLACK);
    EXPECT_EQ(At(scene, 1000, 950, 300), BLACK);
    EXPECT_EQ(At(scene, 1000, 110, 10), GREEN);
    EXPECT_EQ(At(scene, 1000, 890, 590), GREEN);
    EXPECT_EQ(At(scene, 1000, 500, 300), WHITE);
    ASSERT_TRUE(gGraphics.KeepPicture());
    gGraphics.Render();
    gGraphics.SetFogColour(0.0f, 0.0f, 1.0f);
    ASSERT_TRUE(gGraphics.DrawKeptPicture());
    EXPECT_EQ(ReadWindowOf(1000, 600), scene);

    // Taller: bars above and below (GL counts rows from the bottom).
    gGraphics.ResizeWindow(800, 1000);
    EXPECT_EQ(gGraphics.GetPicture().mY, 200);
    NewFrame();
    gGraphics.DrawTexturedQuad(Quad(0, 0.9f, 0, 0.2f, 0.2f), Texture_Rect(), "WHITE"); // near the top
    const std::vector<unsigned char> tall = ReadWindowOf(800, 1000);
    EXPECT_EQ(At(tall, 800, 400, 100), BLACK);
    EXPECT_EQ(At(tall, 800, 400, 900), BLACK);
    EXPECT_EQ(At(tall, 800, 10, 210), GREEN);
    EXPECT_EQ(At(tall, 800, 400, 780), WHITE);

    // Drawn at 800x600 and scaled up into a 1000x750 picture (the test's screen may be
    // no larger): the square stays in the middle and the clear reaches the far corners.
    gGraphics.ResizeWindow(1000, 750);
    gGraphics.SetDrawMode(Graphics::DRAW_SMOOTH);
    EXPECT_EQ(gGraphics.GetDrawWidth(), 800);
    NewFrame();
    gGraphics.BeginWorld();
    gGraphics.DrawTexturedQuad(Quad(0, 0, 0, 0.4f, 0.4f), Texture_Rect(), "WHITE");
    gGraphics.Render();
    // Mesa's swap copies the back buffer to the window, so it still holds what is shown.
    const std::vector<unsigned char> scaled = ReadWindowOf(1000, 750, GL_BACK);
    EXPECT_EQ(At(scaled, 1000, 500, 375), WHITE);
    EXPECT_EQ(At(scaled, 1000, 995, 745), GREEN);
    EXPECT_EQ(At(scaled, 1000, 5, 5), GREEN);

    gGraphics.SetDrawMode(Graphics::DRAW_CHOSEN);
    EXPECT_EQ(gGraphics.GetDrawWidth(), 1000);
    gGraphics.ResizeWindow(800, 600);
    EXPECT_EQ(gGraphics.GetPicture().mWidth, 800);
}

// Pixels along row y from x0 to x1 that are neither of the two colours: the blur of
// an edge scaled up smoothly.
int Blurred(const std::vector<unsigned char>& window, int width, int y, int x0, int x1, const Rgb& a,
            const Rgb& b)
{
    int blurred = 0;
    for (int x = x0; x < x1; ++x)
        blurred += !(At(window, width, x, y) == a) && !(At(window, width, x, y) == b);
    return blurred;
}

TEST_F(Fill_State, ScaledUpWorldLeavesWhatIsDrawnAfterItSharpInItsOwnBufferOrCopied)
{
    // 1000x750 scales 800x600 up, filtered; 1280x960 doubles 640x480, each pixel a 2x2
    // square (the window may reach past the test's screen: its pixels are read back).
    for (const int width : {1000, 1280})
    {
        const int height = width * 3 / 4, middle = width / 2, row = height / 2;
        gGraphics.ResizeWindow(width, height);
        gGraphics.SetDrawMode(Graphics::DRAW_SMOOTH);
        ASSERT_EQ(gGraphics.GetDrawWidth(), width == 1000 ? 800 : 640);
        std::vector<unsigned char> shown[2];
        for (int copied = 0; copied < 2; ++copied)
        {
            gGraphics.Textures().AllowWorldTarget(copied == 0);
            NewFrame();
            gGraphics.BeginWorld();
            gGraphics.DrawTexturedQuad(Quad(-0.3f, 0, 0, 0.4f, 0.4f), Texture_Rect(), "WHITE");
            gGraphics.EndWorld();
            // Drawn after the world, as the HUD is: at the picture's own size.
            gGraphics.DrawTexturedQuad(Quad(0.3f, 0, 0, 0.4f, 0.4f), Texture_Rect(), "WHITE");
            shown[copied] = ReadWindowOf(width, height);
            const std::vector<unsigned char>& picture = shown[copied];
            EXPECT_EQ(At(picture, width, middle - middle * 3 / 10, row), WHITE) << width;
            EXPECT_EQ(At(picture, width, middle + middle * 3 / 10, row), WHITE) << width;
            EXPECT_EQ(At(picture, width, 5, 5), GREEN) << width;
            EXPECT_EQ(Blurred(picture, width, row, middle, width, GREEN, WHITE), 0) << width;
            if (width == 1000)
            {
                EXPECT_GT(Blurred(picture, width, row, 0, middle, GREEN, WHITE), 0);
            }
            else
            {
                // Whole squares: no blur, and the world's edges fall between squares.
                EXPECT_EQ(Blurred(picture, width, row, 0, middle, GREEN, WHITE), 0);
                int edge = 0;
                while (edge < middle && At(picture, width, edge, row) == GREEN)
                    ++edge;
                EXPECT_EQ(edge % 2, 0) << edge;
                EXPECT_EQ(At(picture, width, edge, row + 1), WHITE);
            }

            // Kept behind a menu, the whole picture comes back as it was shown.
            ASSERT_TRUE(gGraphics.KeepPicture());
            gGraphics.Render();
            gGraphics.SetFogColour(0.0f, 0.0f, 1.0f);
            ASSERT_TRUE(gGraphics.DrawKeptPicture());
            EXPECT_EQ(ReadWindowOf(width, height), picture) << width;
        }
        EXPECT_EQ(shown[0], shown[1]) << width;
    }
    gGraphics.Textures().AllowWorldTarget(true);
    gGraphics.SetDrawMode(Graphics::DRAW_CHOSEN);
    gGraphics.ResizeWindow(800, 600);
    EXPECT_EQ(gGraphics.GetPicture().mWidth, 800);
}

} // namespace
