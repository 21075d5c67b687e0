// Each level has a look of its own: the automatic runner plays every level in a real
// window, and the picture at the start (once the opening hint is over) and in the
// middle is read back. Needs an X display (the test scripts run it under Xvfb).
// With ZQ_LEVEL_SHOTS=folder the pictures are saved there as BMP files.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <string>
#include <vector>

#include "Core/World_Drawing.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "World/Floating_Text.h"
#include "tests/support/Auto_Runner.h"

namespace
{

using namespace auto_run;

struct Shot
{
    std::vector<unsigned char> mPixels; // RGB, bottom row first, as GL reads them
    double mMean[3] = {0, 0, 0};        // average colour of the corridor (the middle of the screen)
    double mSpread = 0;                 // how much the picture varies there
};

Shot Capture()
{
    Shot shot;
    shot.mPixels.resize(SCREEN_WIDTH * SCREEN_HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, shot.mPixels.data());
    double sum[3] = {0, 0, 0}, squares = 0;
    int n = 0;
    for (int y = SCREEN_HEIGHT / 5; y < SCREEN_HEIGHT * 4 / 5; y += 2)
        for (int x = SCREEN_WIDTH / 5; x < SCREEN_WIDTH * 4 / 5; x += 2)
        {
            const unsigned char* p = &shot.mPixels[(y * SCREEN_WIDTH + x) * 3];
            for (int c = 0; c < 3; ++c)
                sum[c] += p[c];
            squares += (p[0] + p[1] + p[2]) * (p[0] + p[1] + p[2]) / 9.0;
            ++n;
        }
    for (int c = 0; c < 3; ++c)
        shot.mMean[c] = sum[c] / n;
    const double grey = (shot.mMean[0] + shot.mMean[1] + shot.mMean[2]) / 3.0;
    shot.mSpread = std::sqrt(std::max(0.0, squares / n - grey * grey));
    return shot;
}

void Save(const Shot& shot, const std::string& name)
{
    const char* folder = getenv("ZQ_LEVEL_SHOTS");
    if (!folder)
        return;
    SDL_Surface* s =
        SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    if (!s)
        return;
    SDL_LockSurface(s);
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        std::memcpy(static_cast<unsigned char*>(s->pixels) + y * s->pitch,
                    &shot.mPixels[(SCREEN_HEIGHT - 1 - y) * SCREEN_WIDTH * 3], SCREEN_WIDTH * 3);
    SDL_UnlockSurface(s);
    SDL_SaveBMP(s, (std::string(folder) + "/" + name + ".bmp").c_str());
    SDL_FreeSurface(s);
}

double Distance(const Shot& a, const Shot& b)
{
    double d = 0;
    for (int c = 0; c < 3; ++c)
        d += (a.mMean[c] - b.mMean[c]) * (a.mMean[c] - b.mMean[c]);
    return std::sqrt(d);
}

class Level_Looks : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        SetClockSource(&FakeClock);
        std::srand(7);
        SDL_Init(0);
        gInput.Init(0, SCREEN_WIDTH);
        ASSERT_TRUE(gGraphics.Init(false));
        testing::internal::CaptureStdout();
        const bool loaded = gImageBank.Init(nullptr);
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(loaded);
        gGameState.Init();
        gPlayer.Init();
        for (int key : {KEY_LEFT, KEY_RIGHT, KEY_SPACE})
            gInput.RegisterKey(key);
        gKeyboardControl = true;
        gMouseControl = false;
        gFont.Init();
        gHUD.Init();
        gBackground.Init();
        gCamera.Init(0.0f, 1000.0f, 0.0f, 1.0f, 1000.0f);
        gGraphics.EnableFog();
        gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);
        gGraphics.SetFogParameters(0.8f, 3.0f, 20.0f);
    }
    static void TearDownTestSuite()
    {
        gEntities.Clear();
        gGraphics.Shutdown();
        SetClockSource(nullptr);
        SDL_Quit();
    }
};

// Plays the level up to the given distance and draws that frame as the game would.
bool PlayTo(Auto_Runner& runner, Keyboard& keys, Run_Report& report, float distance)
{
    const int limit = report.mFrames + static_cast<int>(distance * 3.0f) + 3000;
    while (gPlayer.mZ - LEVEL_Z_OFFSET < distance && report.mFrames < limit)
        if (!PlayFrame(runner, keys, report))
            return false;
    DrawWorld();
    gFloatingTexts.UpdateAndDraw();
    return true;
}

TEST_F(Level_Looks, EachLevelLooksItsOwnAtStartAndMiddle)
{
    std::vector<Shot> starts, middles;
    for (int level = 0; level < 8; ++level)
    {
        SCOPED_TRACE("level " + std::to_string(level));
        Keyboard keys;
        Auto_Runner runner;
        Run_Report report;
        testing::internal::CaptureStdout();
        StartLevel(level, keys);
        const float length = gEntities.GetLastZ() - LEVEL_Z_OFFSET;
        const bool start = PlayTo(runner, keys, report, 330.0f);
        const Shot first = Capture();
        gGraphics.Render();
        const bool middle = PlayTo(runner, keys, report, length / 2.0f);
        const Shot second = Capture();
        gGraphics.Render();
        testing::internal::GetCapturedStdout();
        keys.ReleaseAll();
        ASSERT_TRUE(start && middle) << "the run ended early";

        Save(first, "level" + std::to_string(level) + "_start");
        Save(second, "level" + std::to_string(level) + "_middle");
        std::printf("level %d: start (%.0f %.0f %.0f) spread %.0f, middle (%.0f %.0f %.0f) spread %.0f\n",
                    level, first.mMean[0], first.mMean[1], first.mMean[2], first.mSpread, second.mMean[0],
                    second.mMean[1], second.mMean[2], second.mSpread);
        // Something is drawn: a corridor, not a flat colour.
        EXPECT_GT(first.mSpread, 8.0);
        EXPECT_GT(second.mSpread, 8.0);
        starts.push_back(first);
        middles.push_back(second);
    }
    // No two levels look alike in both their opening and their middle.
    for (size_t a = 0; a < starts.size(); ++a)
        for (size_t b = a + 1; b < starts.size(); ++b)
            EXPECT_GT(std::max(Distance(starts[a], starts[b]), Distance(middles[a], middles[b])), 6.0)
                << "levels " << a << " and " << b << " look the same";
}

} // namespace
