// Loads real image files into textures, draws them through the window and reads
// the pixels back. Needs an X display (the test scripts run it under Xvfb).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <SDL/SDL.h>
#include <GL/gl.h>

#include "Core/Clock.h"
#include "App/Loading_Screen.h"
#include "Graphics/Animation.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "Input/Input_Handler.h"
#include "tests/support/Pixels.h"

namespace
{

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

const std::string DATA = "tests/data/";

using namespace test_pixels;

bool Near(const Rgb& a, const Rgb& b, int tolerance = 4)
{
    return Within(a, b, tolerance);
}

// The nine cells of the 3x3 fixtures, row by row from the top.
const Rgb CELLS[9] = {{255, 0, 0},   {0, 255, 0},     {0, 0, 255}, {255, 255, 0}, {0, 255, 255},
                      {255, 0, 255}, {255, 255, 255}, {0, 0, 0},   {255, 128, 0}};

// Loads a file under a key and makes it 1.5 by 1.5 units on screen.
Animation_Frame LoadSized(const std::string& key, const std::string& file, float size = 1.5f)
{
    EXPECT_TRUE(gImageBank.LoadImage(key, DATA, file)) << file;
    Image_Entry& entry = gImageBank.GetImage(key);
    entry.mWorldWidth = size;
    entry.mWorldHeight = size;
    return Animation_Frame(key);
}

class Images : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(gGraphics.Init(false)) << "no display: run under xvfb-run";
        gInput.Init(0, 800);
    }

    void SetUp() override
    {
        ASSERT_TRUE(gGraphics.IsInitialised());
        gGraphics.Render(); // next draw starts from a cleared screen
    }

    // Draws a 3x3 fixture over the middle of the screen and checks every cell.
    void ExpectCells(const std::string& key, const std::string& file)
    {
        Animation_Frame frame = LoadSized(key, file);
        gGraphics.DrawFrameAt(frame, 0.0f, 0.0f, 0.0f);
        for (int i = 0; i < 9; ++i)
        {
            const float x = -0.5f + 0.5f * (i % 3);
            const float y = 0.5f - 0.5f * (i / 3);
            EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(x, y), CELLS[i])
                << file << " cell " << i;
        }
    }
};

// Every glyph of the shipped image list: the lines whose key is one character.
bool LoadShippedGlyphs()
{
    std::ifstream list("Data/Images/image_info.zqt");
    std::stringstream glyphs;
    glyphs << "START\n";
    std::string line;
    while (std::getline(list, line))
        if (line.size() > 2 && line[0] != ' ' && line[1] == ' ' && line.compare(0, 2, "//") != 0)
            glyphs << line << "\n";
    glyphs << "END\n";
    return gImageBank.ReadImageList(glyphs, "Data/Images/", nullptr);
}

// A glyph as the window shows it: true where the ink is darker than half way.
struct Glyph_Shot
{
    int mWidth = 0, mHeight = 0;
    std::vector<bool> mInk;
    bool At(int x, int y) const { return mInk[y * mWidth + x]; }
};

// Light regions of at least minSize pixels that do not reach the edge of the shot:
// the counters that stayed open.
std::vector<int> OpenCounters(const Glyph_Shot& shot, int minSize)
{
    std::vector<int> region(shot.mInk.size(), -1), sizes;
    std::vector<bool> touchesEdge;
    for (int start = 0; start < static_cast<int>(shot.mInk.size()); ++start)
    {
        if (shot.mInk[start] || region[start] >= 0)
            continue;
        const int id = static_cast<int>(sizes.size());
        sizes.push_back(0);
        touchesEdge.push_back(false);
        std::vector<int> todo{start};
        region[start] = id;
        while (!todo.empty())
        {
            const int p = todo.back();
            todo.pop_back();
            ++sizes[id];
            const int x = p % shot.mWidth, y = p / shot.mWidth;
            if (x == 0 || y == 0 || x == shot.mWidth - 1 || y == shot.mHeight - 1)
                touchesEdge[id] = true;
            const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const auto& n : next)
            {
                if (n[0] < 0 || n[1] < 0 || n[0] >= shot.mWidth || n[1] >= shot.mHeight)
                    continue;
                const int q = n[1] * shot.mWidth + n[0];
                if (!shot.mInk[q] && region[q] < 0)
                {
                    region[q] = id;
                    todo.push_back(q);
                }
            }
        }
    }
    std::vector<int> open;
    for (size_t i = 0; i < sizes.size(); ++i)
        if (!touchesEdge[i] && sizes[i] >= minSize)
            open.push_back(sizes[i]);
    return open;
}

} // namespace

// Menu items are black text at scale 0.75 on the light panel. Drawing multiplies, so
// any dark outline in a glyph turns as black as its fill: each glyph is drawn the way
// the menus draw it and must keep its holes.
TEST_F(Images, GlyphsKeepTheirCountersInBlackAtMenuSize)
{
    ASSERT_TRUE(LoadShippedGlyphs());
    ASSERT_TRUE(gImageBank.LoadImage("WHITE", DATA, "white_4x4.png"));
    gImageBank.GetImage("WHITE").mWorldWidth = 3.0f;
    gImageBank.GetImage("WHITE").mWorldHeight = 2.2f;
    Font font;
    font.Init();

    const std::string chars = "ABDOPQR04689CGEFMN";
    // The zero is slashed, so its counter is cut in two.
    const std::map<char, int> counters = {{'A', 1}, {'B', 2}, {'D', 1}, {'O', 1}, {'P', 1}, {'Q', 1},
                                          {'R', 1}, {'0', 2}, {'4', 1}, {'6', 1}, {'8', 2}, {'9', 1}};
    // About 14 by 22 pixels around each glyph centre at this scale.
    const int halfW = 9, halfH = 13;
    const float spacing = 0.14f;
    gGraphics.Render();
    gGraphics.DrawFrameAt(Animation_Frame("WHITE"), 0.0f, 0.0f, 0.0f);
    font.SetScale(0.75f);
    std::vector<std::pair<int, int>> centres;
    for (size_t i = 0; i < chars.size(); ++i)
    {
        const float x = -1.2f + spacing * (i % 9), y = 0.3f - 0.4f * (i / 9);
        font.drawString(std::string(1, chars[i]), x, y, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
        // drawString centres the first glyph 0.06 right of and 0.05 below the point.
        const float f = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f) / 2.41f;
        centres.emplace_back(static_cast<int>(std::lround((f / (4.0f / 3.0f) * (x + 0.06f) + 1.0f) * 400.0f)),
                             static_cast<int>(std::lround((f * (y - 0.05f) + 1.0f) * 300.0f)));
    }

    std::vector<unsigned char> pixels(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::map<char, Glyph_Shot> shots;
    for (size_t i = 0; i < chars.size(); ++i)
    {
        Glyph_Shot& shot = shots[chars[i]];
        shot.mWidth = 2 * halfW + 1;
        shot.mHeight = 2 * halfH + 1;
        int ink = 0;
        for (int y = 0; y < shot.mHeight; ++y)
            for (int x = 0; x < shot.mWidth; ++x)
            {
                const int wx = centres[i].first - halfW + x, wy = centres[i].second + halfH - y;
                const bool dark = pixels[(wy * 800 + wx) * 3 + 1] < 128;
                shot.mInk.push_back(dark);
                ink += dark;
            }
        ASSERT_GT(ink, 20) << chars[i] << " drew no ink where it should stand";
        // Nothing of the glyph runs outside the box looked at.
        for (int x = 0; x < shot.mWidth; ++x)
            EXPECT_FALSE(shot.At(x, 0) || shot.At(x, shot.mHeight - 1)) << chars[i] << " runs off its box";
    }

    for (const auto& c : counters)
    {
        const std::vector<int> open = OpenCounters(shots[c.first], 3);
        EXPECT_EQ(static_cast<int>(open.size()), c.second)
            << c.first << " keeps " << open.size() << " open counters of " << c.second;
    }

    // Letters that differ only inside must still differ when drawn small and black.
    const char* pairs[] = {"OQ", "O0", "Q0", "CG", "EF", "MN", "8B"};
    for (const char* pair : pairs)
    {
        const Glyph_Shot& a = shots[pair[0]];
        const Glyph_Shot& b = shots[pair[1]];
        int differing = 0;
        for (size_t p = 0; p < a.mInk.size(); ++p)
            differing += a.mInk[p] != b.mInk[p];
        EXPECT_GE(differing, 12) << pair[0] << " and " << pair[1] << " look alike";
    }
}

TEST_F(Images, TwentyFourBitPngWithAnOddWidth)
{
    ExpectCells("RGB24", "rgb24_3x3.png");
}

TEST_F(Images, PalettePng)
{
    ExpectCells("PALETTE", "palette_3x3.png");
}

TEST_F(Images, BitmapRowsPaddedInMemory)
{
    ExpectCells("BMP", "bgr24_3x3.bmp");
}

TEST_F(Images, GreyPngWithAnOddWidth)
{
    Animation_Frame frame = LoadSized("GREY", "grey_5x2.png", 2.5f);
    gGraphics.DrawFrameAt(frame, 0.0f, 0.0f, 0.0f);
    const int levels[5] = {0, 64, 128, 192, 255};
    for (int column = 0; column < 5; ++column)
    {
        const int v = levels[column];
        EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); },
                     ReadScene(-1.0f + 0.5f * column, 0.0f), (Rgb{v, v, v}))
            << "column " << column;
    }
}

TEST_F(Images, AlphaAndTintsBlendWithWhatIsBehind)
{
    Animation_Frame back = LoadSized("BACK_GREEN", "green_8x6.png", 3.0f);
    Animation_Frame half = LoadSized("HALF_RED", "red_4x2.png", 1.5f);
    gGraphics.DrawFrameAt(back, 0.0f, 0.0f, 0.0f);
    gGraphics.DrawFrameAt(half, 0.0f, 0.0f, 0.0f);
    // The left of the image is opaque red, the right fully transparent.
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(-0.5f, 0.0f),
                 (Rgb{255, 0, 0}));
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(0.5f, 0.0f),
                 (Rgb{0, 255, 0}));

    half.mTint.Set(0.5f, 1.0f, 1.0f, 1.0f);
    gGraphics.DrawFrameAt(back, 0.0f, 0.0f, 0.0f);
    gGraphics.DrawFrameAt(half, 0.0f, 0.0f, 0.0f);
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b, 6); }, ReadScene(-0.5f, 0.0f),
                 (Rgb{128, 127, 0}));
}

TEST_F(Images, KeysOfOneFileShareATexture)
{
    LoadSized("SHARE_A", "white_4x4.png");
    LoadSized("SHARE_B", "white_4x4.png");
    LoadSized("OTHER", "grey_5x2.png");
    EXPECT_NE(gImageBank.GetImage("SHARE_A").mTexture, 0u);
    EXPECT_EQ(gImageBank.GetImage("SHARE_A").mTexture, gImageBank.GetImage("SHARE_B").mTexture);
    EXPECT_NE(gImageBank.GetImage("SHARE_A").mTexture, gImageBank.GetImage("OTHER").mTexture);
}

TEST_F(Images, ANewWindowDrawsAsTheOldOne)
{
    // Where SDL cannot switch to full screen in place, the game opens a new window:
    // its GL context starts empty, so images, blending and fog must all come back.
    Animation_Frame cells = LoadSized("REOPEN_CELLS", "rgb24_3x3.png");
    Animation_Frame back = LoadSized("REOPEN_GREEN", "green_8x6.png", 3.0f);
    Animation_Frame half = LoadSized("REOPEN_RED", "red_4x2.png", 1.5f);
    gGraphics.SetFogColour(0.2f, 0.4f, 0.6f);
    gGraphics.DisableFog();
    ASSERT_TRUE(gGraphics.SetFullScreen(false, true));
    ASSERT_TRUE(gGraphics.IsInitialised());
    EXPECT_FALSE(gGraphics.IsFullScreen());
    EXPECT_FLOAT_EQ(gImageBank.GetImage("REOPEN_CELLS").mWorldWidth, 1.5f);
    EXPECT_EQ(glIsEnabled(GL_FOG), GL_FALSE);

    gGraphics.DrawFrameAt(cells, 0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 9; ++i)
        EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); },
                     ReadScene(-0.5f + 0.5f * (i % 3), 0.5f - 0.5f * (i / 3)), CELLS[i])
            << "cell " << i;
    gGraphics.Render();
    gGraphics.DrawFrameAt(back, 0.0f, 0.0f, 0.0f);
    gGraphics.DrawFrameAt(half, 0.0f, 0.0f, 0.0f);
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(-0.5f, 0.0f),
                 (Rgb{255, 0, 0}));
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(0.5f, 0.0f),
                 (Rgb{0, 255, 0}));
    // The clear colour stays black with the fog off, whatever the fog colour is.
    gGraphics.Render();
    gGraphics.DrawFrameAt(cells, 0.0f, 0.0f, 0.0f);
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(1.5f, 0.9f),
                 (Rgb{0, 0, 0}));
    gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);

    // Mesa here keeps the context across the new window; other drivers lose it with
    // every texture in it. Deleting them all before the switch does the same, and the
    // new window must bring them all back.
    LoadSized("REOPEN_CELLS_TOO", "rgb24_3x3.png");
    for (GLuint name = 1; name < 4096; ++name)
        if (glIsTexture(name))
            glDeleteTextures(1, &name);
    ASSERT_TRUE(gGraphics.SetFullScreen(false, true));
    EXPECT_TRUE(glIsTexture(gImageBank.GetImage("REOPEN_CELLS").mTexture));
    EXPECT_EQ(gImageBank.GetImage("REOPEN_CELLS").mTexture, gImageBank.GetImage("REOPEN_CELLS_TOO").mTexture);
    EXPECT_FLOAT_EQ(gImageBank.GetImage("REOPEN_CELLS").mWorldWidth, 1.5f);
    gGraphics.Render();
    gGraphics.DrawFrameAt(cells, 0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 9; ++i)
        EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); },
                     ReadScene(-0.5f + 0.5f * (i % 3), 0.5f - 0.5f * (i / 3)), CELLS[i])
            << "after the upload again, cell " << i;
}

TEST_F(Images, ShutdownFreesEveryTextureEvenOfReloadedKeys)
{
    LoadSized("RELOADED", "blue_2x2.png"); // no other key uses this file
    const uint32_t first = gImageBank.GetImage("RELOADED").mTexture;
    LoadSized("RELOADED", "green_8x6.png");
    const uint32_t second = gImageBank.GetImage("RELOADED").mTexture;
    ASSERT_NE(first, second);
    ASSERT_TRUE(glIsTexture(first));
    gImageBank.Shutdown();
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_FALSE(glIsTexture(second));
    EXPECT_EQ(gImageBank.GetImage("RELOADED").mTexture, 0u);
    EXPECT_EQ(gImageBank.GetImage("RELOADED").mFile, "green_8x6.png");
}

TEST_F(Images, AnimationTintsAndRotationsNest)
{
    LoadSized("WHITE", "white_4x4.png");
    Animation animation;
    Animation_Set set;
    set.mFrames.push_back(Animation_Frame("WHITE"));
    animation.mSets.push_back(set);
    // A bar one unit long lying across the screen to the right of the middle.
    const Quad bar(0.5f, 0.0f, 0.0f, 1.0f, 0.2f);

    animation.mTint.Set(1.0f, 1.0f, 0.0f, 0.0f);
    gGraphics.DrawAnimation(animation, bar);
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(0.5f, 0.0f),
                 (Rgb{255, 0, 0}));

    // The innermost enabled tint wins.
    gGraphics.Render();
    animation.mSets[0].mFrames[0].mTint.Set(1.0f, 0.0f, 0.0f, 1.0f);
    gGraphics.DrawAnimation(animation, bar);
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(0.5f, 0.0f),
                 (Rgb{0, 0, 255}));
    EXPECT_EQ(gGraphics.GetColourDepth(), 0u);

    // Half a turn from the animation and half from the set stand the bar up about its centre.
    gGraphics.Render();
    animation.mRotation.Set(45.0f, 0.0f, 0.0f, 1.0f);
    animation.mSets[0].mRotation.Set(45.0f, 0.0f, 0.0f, 1.0f);
    gGraphics.DrawAnimation(animation, bar);
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(0.5f, 0.35f),
                 (Rgb{0, 0, 255}));
    EXPECT_PRED2([](const Rgb& a, const Rgb& b) { return Near(a, b); }, ReadScene(0.9f, 0.0f),
                 (Rgb{0, 0, 0}));
}

TEST_F(Images, LoadingScreenKeepsItsPaceAndStaysUp)
{
    LoadSized("LOADING_SCREEN", "green_8x6.png", 2.0f);
    LoadSized("LOADING_ICON", "white_4x4.png", 0.2f);
    ResetLoadingScreen();

    const int32_t start = ClockMs();
    while (ClockMs() - start < 340)
        ASSERT_FALSE(LoadingScreenCallback(false));
    // Between images: never more often than every 34 ms.
    EXPECT_LE(LoadingScreenRedraws(), 10);
    EXPECT_GE(LoadingScreenRedraws(), 3); // drawing time and a busy machine slow it

    // The final hold keeps the pace without spinning the processor. Only this thread's
    // time counts: Mesa's rasteriser threads busy-wait on a loaded machine.
    const double cpuBefore = ThreadCpuMs();
    EXPECT_FALSE(LoadingScreenCallback(true));
    const double cpuMs = ThreadCpuMs() - cpuBefore;
    const int32_t elapsed = ClockMs() - start;
    EXPECT_GE(elapsed, 7000);
    EXPECT_LT(elapsed, 8000);
    EXPECT_LE(LoadingScreenRedraws(), 7000 / 34 + 2);
    EXPECT_GE(LoadingScreenRedraws(), 60);
    EXPECT_LT(cpuMs, 0.5 * (elapsed - 340));
}

TEST_F(Images, EscapeOrClosingTheWindowQuitsLoading)
{
    ResetLoadingScreen();
    SDL_Event escape = {};
    escape.type = SDL_KEYDOWN;
    escape.key.keysym.sym = SDLK_ESCAPE;
    ASSERT_EQ(SDL_PushEvent(&escape), 0);
    EXPECT_TRUE(LoadingScreenCallback(false));

    SDL_Event close = {};
    close.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&close), 0);
    EXPECT_TRUE(LoadingScreenCallback(true));
}
