// Each level has a look of its own: the automatic runner plays every level in a real
// window, and the picture at the start (once the opening hint is over) and in the
// middle is read back. The fog must close the corridor softly in every fog state a
// level sets: each fog change is played to its end and the far end of the corridor
// looked at. Needs an X display (the test scripts run it under Xvfb).
// With ZQ_LEVEL_SHOTS=folder the pictures are saved there as BMP files, among them
// one 10 s into each level.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <string>
#include <vector>

#include "Core/Game_Timer.h"
#include "Core/Globals.h"
#include "Game/World_Drawing.h"
#include "Entities/Fog_Trigger.h"
#include "Entities/Scenery_Trigger.h"
#include "Entities/Treasure.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "World/Background_Handler.h"
#include "World/Camera.h"
#include "World/Floating_Text.h"
#include "tests/support/HUD_Probe.h"
#include "tools/runners/Auto_Runner.h"
#include "tools/runners/Key_Pusher.h"

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

// How hard the edge of the fog is at the far end of the corridor. From the far
// frame's centre, rays go out until the picture leaves the fog colour (the flat
// fully fogged middle); the average colour of the band a few pixels further out,
// ray by ray, is compared with the fog colour. A fog that closes softly into a
// haze of the cave's own colour leaves that band near the fog colour (the stones'
// light and dark average out); a hard-edged box leaves it at the walls' colours, far
// from a dark fog. Returns -1 when the far end is hidden (too few rays start in the
// fog: the runner in the air, a sign in front of it).
double FarEdgeStep(const Shot& shot)
{
    const Quad far = gCamera.GetFarQuad();
    const float cx = (far.mTopLeft[0] + far.mTopRight[0]) / 2.0f;
    const float cy = (far.mTopLeft[1] + far.mBottomLeft[1]) / 2.0f;
    const double distance = 2.41 - far.mTopLeft[2];
    const double halfHeight = distance * std::tan(22.5 * M_PI / 180.0);
    const double px = SCREEN_WIDTH / 2.0 * (1.0 + cx / (halfHeight * 4.0 / 3.0));
    const double py = SCREEN_HEIGHT / 2.0 * (1.0 + cy / halfHeight);
    const float* fog = gGraphics.GetFogColour();
    auto pixel = [&](double x, double y)
    { return &shot.mPixels[(static_cast<int>(y) * SCREEN_WIDTH + static_cast<int>(x)) * 3]; };
    auto away = [&](const unsigned char* p)
    {
        double d = 0;
        for (int c = 0; c < 3; ++c)
            d += std::fabs(p[c] - fog[c] * 255.0);
        return d;
    };
    std::vector<double> band[3];
    for (int ray = 0; ray < 32; ++ray)
    {
        const double a = ray * 2.0 * M_PI / 32.0, dx = std::cos(a), dy = std::sin(a);
        auto inside = [&](int r)
        {
            const double x = px + dx * r, y = py + dy * r;
            return x >= 0 && y >= 0 && x < SCREEN_WIDTH && y < SCREEN_HEIGHT;
        };
        // Past whatever stands right at the centre (a stalactite, a coin) into the fog...
        int r = 0;
        while (r < 40 && inside(r + 14) && away(pixel(px + dx * r, py + dy * r)) > 12.0)
            ++r;
        const int start = r;
        // ...and on to where the fog gives way to the corridor.
        while (inside(r + 14) && away(pixel(px + dx * r, py + dy * r)) <= 12.0)
            ++r;
        if (r - start < 3 || !inside(r + 14))
            continue;
        double sum[3] = {0, 0, 0};
        for (int k = 4; k <= 10; ++k)
            for (int c = 0; c < 3; ++c)
                sum[c] += pixel(px + dx * (r + k), py + dy * (r + k))[c];
        for (int c = 0; c < 3; ++c)
            band[c].push_back(sum[c] / 7.0);
    }
    if (band[0].size() < 8)
        return -1.0;
    // The median ray: a sign or a floating word across some rays does not decide it.
    double step = 0;
    for (int c = 0; c < 3; ++c)
    {
        std::nth_element(band[c].begin(), band[c].begin() + band[c].size() / 2, band[c].end());
        step += std::fabs(band[c][band[c].size() / 2] - fog[c] * 255.0);
    }
    return step;
}

// Softest fog edge a player sees as a haze, not a box: colour distance (summed over
// red, green and blue) between the fog and the band just outside it.
const double MAX_FAR_EDGE_STEP = 42.0;

double Distance(const Shot& a, const Shot& b)
{
    double d = 0;
    for (int c = 0; c < 3; ++c)
        d += (a.mMean[c] - b.mMean[c]) * (a.mMean[c] - b.mMean[c]);
    return std::sqrt(d);
}

// The corridor alone as it stands now, without fog: the colours of its textures.
Shot Corridor()
{
    const float* fog = gGraphics.GetFogColour();
    const float r = fog[0], g = fog[1], b = fog[2];
    gGraphics.Render();
    gGraphics.DisableFog();
    gBackground.Draw();
    const Shot shot = Capture();
    gGraphics.Render();
    gGraphics.EnableFog();
    gGraphics.SetFogColour(r, g, b);
    return shot;
}

// The same corridor in one look alone, no fade: what the level should open in.
Shot LookAlone(const std::string& ceiling, const std::string& floor, const std::string& wall)
{
    const Background_Handler kept = gBackground;
    gBackground.SetCeiling(ceiling);
    gBackground.SetFloor(floor);
    gBackground.SetWall(wall);
    gBackground.SetOverlayCeiling("");
    const Shot shot = Corridor();
    gBackground = kept;
    return shot;
}

// The look a level's file opens it in: its first scenery change when that comes before
// the opening shot and fades in fully, else the plain cave.
std::vector<std::string> OpeningLook(float shotAt)
{
    const Entity* first = nullptr;
    for (const std::unique_ptr<Entity>& e : gEntities.GetEntities())
        if (dynamic_cast<Scenery_Trigger*>(e.get()) && (!first || e->mZ < first->mZ))
            first = e.get();
    if (first && first->mZ - LEVEL_Z_OFFSET < shotAt && first->GetAttribute("ALPHA") == "1")
        return {first->GetAttribute("CEILING"), first->GetAttribute("FLOOR"), first->GetAttribute("WALL")};
    return {"CEILING", "FLOOR", "WALL"};
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
        for (int key : {KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_RETURN, KEY_DOWN, KEY_UP, KEY_P})
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
    size_t blendsMade = 0;
    for (int level = 0; level < 8; ++level)
    {
        SCOPED_TRACE("level " + std::to_string(level));
        Keyboard keys;
        Auto_Runner runner;
        Run_Report report;
        testing::internal::CaptureStdout();
        StartLevel(level, keys);
        // A settled look is blended into a texture of its own; the level took them along.
        const size_t heldAtStart = gGraphics.Textures().CrossfadeCount();
        const float length = gEntities.GetLastZ() - LEVEL_Z_OFFSET;
        const bool start = PlayTo(runner, keys, report, 330.0f);
        const Shot first = Capture();
        gGraphics.Render();
        // The opening look by its own colours, drawn as it lasts (one made texture) and
        // as it fades in (two textures mixed in one pass).
        const std::vector<std::string> look = OpeningLook(330.0f);
        const Shot expected = LookAlone(look[0], look[1], look[2]);
        const Shot plain = LookAlone("CEILING", "FLOOR", "WALL");
        const Shot lasting = Corridor();
        const float step = gBackground.mFadeStep;
        gBackground.mFadeStep = 0.0f;
        const Shot fading = Corridor();
        gBackground.mFadeStep = step;
        const bool middle = PlayTo(runner, keys, report, length / 2.0f);
        const Shot second = Capture();
        gGraphics.Render();
        testing::internal::GetCapturedStdout();
        keys.ReleaseAll();
        ASSERT_TRUE(start && middle) << "the run ended early";
        EXPECT_EQ(heldAtStart, 0u) << "the last level's looks are still held";
        std::printf("level %d opens in %s: %.1f from it (%.1f while fading), %.1f from the plain cave\n",
                    level, look[0].c_str(), Distance(lasting, expected), Distance(fading, expected),
                    Distance(lasting, plain));
        // Far nearer the look than the plain cave: it is laid over the cave all but opaque.
        const double apart = Distance(expected, plain);
        if (look[0] != "CEILING")
        {
            EXPECT_GT(apart, 10.0) << look[0] << " looks like the plain cave";
        }
        EXPECT_LT(Distance(lasting, expected), 0.1 * apart + 0.5) << "not in " << look[0];
        EXPECT_LT(Distance(fading, expected), 0.1 * apart + 0.5) << "not fading into " << look[0];

        blendsMade += gGraphics.Textures().CrossfadeCount();
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
    EXPECT_GT(blendsMade, 0u);
    // No two levels look alike in both their opening and their middle.
    for (size_t a = 0; a < starts.size(); ++a)
        for (size_t b = a + 1; b < starts.size(); ++b)
            EXPECT_GT(std::max(Distance(starts[a], starts[b]), Distance(middles[a], middles[b])), 6.0)
                << "levels " << a << " and " << b << " look the same";
}

// Average colour of the frame round the screen: a band along the left, right and top
// edges (the chase meter sits on the bottom one).
void FrameColour(const Shot& shot, double mean[3])
{
    const int BAND = 10;
    double sum[3] = {0, 0, 0};
    int n = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
        {
            const bool edge = x < BAND || x >= SCREEN_WIDTH - BAND || y >= SCREEN_HEIGHT - BAND;
            if (!edge || y < SCREEN_HEIGHT / 6)
                continue;
            const unsigned char* p = &shot.mPixels[(y * SCREEN_WIDTH + x) * 3];
            for (int c = 0; c < 3; ++c)
                sum[c] += p[c];
            ++n;
        }
    for (int c = 0; c < 3; ++c)
        mean[c] = sum[c] / n;
}

// Where a point of the world's drawing space lands in the window, in pixels from the
// bottom-left (as GL reads them back).
void ToPixel(float x, float y, float z, double& px, double& py)
{
    const double halfHeight = (2.41 - z) * std::tan(22.5 * M_PI / 180.0);
    px = SCREEN_WIDTH / 2.0 * (1.0 + x / (halfHeight * 4.0 / 3.0));
    py = SCREEN_HEIGHT / 2.0 * (1.0 + y / halfHeight);
}

// Pixels of the lower half that the runner's drawing darkens by a clear step, outside
// the runner's own box: its shadow on the floor.
int ShadowPixels(const Shot& with, const Shot& without)
{
    const Quad body = gCamera.ProjectBox(gPlayer.mX, gPlayer.mY, 2.0f * gPlayer.mHalfWidth,
                                         2.0f * gPlayer.mHalfHeight, gPlayer.mZ);
    double left, bottom, right, top;
    ToPixel(body.mX - body.mWidth / 2.0f, body.mY - body.mHeight / 2.0f, body.mZ, left, bottom);
    ToPixel(body.mX + body.mWidth / 2.0f, body.mY + body.mHeight / 2.0f, body.mZ, right, top);
    int dark = 0;
    for (int y = 0; y < SCREEN_HEIGHT / 2; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
        {
            if (x >= left && x <= right && y >= bottom && y <= top)
                continue;
            const unsigned char* a = &with.mPixels[(y * SCREEN_WIDTH + x) * 3];
            const unsigned char* b = &without.mPixels[(y * SCREEN_WIDTH + x) * 3];
            if ((b[0] + b[1] + b[2]) - (a[0] + a[1] + a[2]) >= 3 * 24)
                ++dark;
        }
    return dark;
}

// Hides, while it lives, whatever lies on the floor by the runner's feet (a coin of
// the line it follows), so the floor there shows what the runner itself casts.
class Clear_Floor
{
public:
    Clear_Floor()
    {
        for (const std::unique_ptr<Entity>& e : gEntities.GetEntities())
            if (e->mOnScreen && std::fabs(e->mZ - gPlayer.mZ) < 4.0f)
            {
                e->mOnScreen = false;
                mHidden.push_back(e.get());
            }
    }
    ~Clear_Floor()
    {
        for (Entity* e : mHidden)
            e->mOnScreen = true;
    }

private:
    std::vector<Entity*> mHidden;
};

// Every level is a cave of its own in a frame of its own: 6.5 s in, the corridor's
// colours tell each level from every other, and so do the frame's 4 s later. Meanwhile
// the runner jumps, and its shadow shows on the floor at the start and the top of the
// jump, clear of the runner, the chase meter and the frame.
TEST_F(Level_Looks, EveryLevelHasItsOwnCaveFrameAndAShadowThroughAJump)
{
    std::vector<Shot> caves;
    std::vector<std::vector<double>> frames;
    for (int level = 0; level < 8; ++level)
    {
        SCOPED_TRACE("level " + std::to_string(level));
        Keyboard keys;
        Auto_Runner runner;
        Run_Report report;
        testing::internal::CaptureStdout();
        StartLevel(level, keys);
        bool ran = true;
        while (ran && report.mFrames < 390)
            ran = PlayFrame(runner, keys, report);
        DrawWorld();
        const Shot cave = Capture();
        gGraphics.Render();

        // A jump from the floor: the shadow on the floor as it leaves, then at the top.
        int floorShadow = 0, topShadow = 0;
        float top = 1.0f;
        if (ran && gPlayer.mJumpState == 0)
        {
            Clear_Floor clear;
            DrawWorld(false);
            const Shot bare = Capture();
            gGraphics.Render();
            DrawWorld();
            floorShadow = ShadowPixels(Capture(), bare);
            gGraphics.Render();
            gPlayer.Launch(-0.04f, 0.0025f);
            while (ran && gPlayer.mVelocityY < 0.0f && report.mFrames < 500)
                ran = PlayFrame(runner, keys, report);
            top = gPlayer.mY;
            Clear_Floor clearAtTop;
            DrawWorld(false);
            const Shot high = Capture();
            gGraphics.Render();
            DrawWorld();
            const Shot jump = Capture();
            topShadow = ShadowPixels(jump, high);
            Save(jump, "level" + std::to_string(level) + "_jump");
            gGraphics.Render();
        }
        while (ran && report.mFrames < 390 + 240)
            ran = PlayFrame(runner, keys, report);
        DrawWorld();
        const Shot frame = Capture();
        gGraphics.Render();
        testing::internal::GetCapturedStdout();
        keys.ReleaseAll();
        ASSERT_TRUE(ran) << "the run ended early";

        std::vector<double> colour(3);
        FrameColour(frame, colour.data());
        std::printf("level %d: cave (%.0f %.0f %.0f), frame (%.0f %.0f %.0f), shadow %d px on the floor, "
                    "%d px under a runner at %.2f\n",
                    level, cave.mMean[0], cave.mMean[1], cave.mMean[2], colour[0], colour[1], colour[2],
                    floorShadow, topShadow, top);
        EXPECT_LT(top, 0.6f) << "the runner did not rise";
        EXPECT_GT(floorShadow, 150) << "no shadow beside the runner's feet";
        EXPECT_GT(topShadow, 600) << "no shadow under the runner at the top of its jump";
        caves.push_back(cave);
        frames.push_back(colour);
    }
    for (size_t a = 0; a < caves.size(); ++a)
        for (size_t b = a + 1; b < caves.size(); ++b)
        {
            EXPECT_GT(Distance(caves[a], caves[b]), 6.0) << "levels " << a << " and " << b << " share a cave";
            double d = 0;
            for (int c = 0; c < 3; ++c)
                d += (frames[a][c] - frames[b][c]) * (frames[a][c] - frames[b][c]);
            EXPECT_GT(std::sqrt(d), 6.0) << "levels " << a << " and " << b << " share a frame";
        }
}

TEST_F(Level_Looks, FogClosesTheCorridorSoftlyInEveryFogState)
{
    for (int level = 0; level < 8; ++level)
    {
        SCOPED_TRACE("level " + std::to_string(level));
        Keyboard keys;
        Auto_Runner runner;
        Run_Report report;
        testing::internal::CaptureStdout();
        StartLevel(level, keys);
        // Where each fog change is over: its distance plus the frames it takes, with room.
        std::vector<float> states;
        for (const std::unique_ptr<Entity>& e : gEntities.GetEntities())
            if (Fog_Trigger* fog = dynamic_cast<Fog_Trigger*>(e.get()))
                states.push_back(fog->mZ - LEVEL_Z_OFFSET + fog->mFrames * 1.2f + 60.0f);
        const float length = gEntities.GetLastZ() - LEVEL_Z_OFFSET;
        // The fog of the level's start. In the last fifth the game fades every level
        // to white on its way out, whatever the level set.
        states.push_back(300.0f);
        std::sort(states.begin(), states.end());
        std::vector<std::pair<float, double>> found;
        bool ran = true;
        // The picture a player sees 10 s in, for the level screenshots.
        // The floating words live as long as in the game: they age only when drawn.
        while (ran && report.mFrames < 600)
        {
            ran = PlayFrame(runner, keys, report);
            gFloatingTexts.UpdateAndDraw();
            gGraphics.Render();
        }
        if (ran)
        {
            DrawWorld();
            gFloatingTexts.UpdateAndDraw();
            Save(Capture(), "level" + std::to_string(level) + "_10s");
            gGraphics.Render();
        }
        for (float at : states)
        {
            if (!ran || at >= length * 0.8f)
                continue;
            if (!(ran = PlayTo(runner, keys, report, at)))
                break;
            const Shot shot = Capture();
            gGraphics.Render();
            const double step = FarEdgeStep(shot);
            if (step >= 0.0)
                found.push_back({at, step});
            else
                std::printf("level %d at %.0f: the far end is hidden\n", level, at);
            Save(shot, "level" + std::to_string(level) + "_fog_" + std::to_string(static_cast<int>(at)));
        }
        testing::internal::GetCapturedStdout();
        keys.ReleaseAll();
        ASSERT_TRUE(ran) << "the run ended early";
        for (auto& f : found)
        {
            std::printf("level %d at %.0f: far edge step %.0f\n", level, f.first, f.second);
            EXPECT_LT(f.second, MAX_FAR_EDGE_STEP)
                << "a hard-edged box at the far end, at distance " << f.first;
        }
    }
}

// One frame of a screen as the menu loop runs it, read back before it is shown.
Shot ScreenFrame()
{
    gInput.Update();
    gGameState.RunScreen();
    const Shot shot = Capture();
    gGraphics.Render();
    return shot;
}

// A key pressed and let go over two frames of the screen shown; the first frame's picture.
Shot PressOnScreen(int key)
{
    test_keys::PushKey(key, true);
    const Shot shot = ScreenFrame();
    test_keys::PushKey(key, false);
    if (gGameState.GetScreen())
        ScreenFrame();
    else
        gInput.Update();
    return shot;
}

// Back to play as the main loop goes back: the menu loop's end.
void ResumePlay()
{
    Game_Timer timer;
    timer.SetTimeSource([] { return int64_t{0}; }, [](uint32_t) {});
    ASSERT_EQ(gGameState.GetScreen(), Game_State::PLAY);
    gInput.Update();
    gGameState.ProcessMenus(timer);
    ASSERT_EQ(gGameState.GetScreen(), Game_State::PLAY);
}

// Pixels that differ between two pictures of a menu, leaving out its spinning arrow.
int DifferingOutsideTheArrow(const Shot& a, const Shot& b)
{
    int differ = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
        {
            if (x >= 100 && x < 290 && y >= 250 && y < 450)
                continue;
            const size_t i = (y * SCREEN_WIDTH + x) * 3;
            for (int c = 0; c < 3; ++c)
                if (std::abs(a.mPixels[i + c] - b.mPixels[i + c]) > 2)
                {
                    ++differ;
                    break;
                }
        }
    return differ;
}

TEST_F(Level_Looks, ContinueFromTheCheckpointShowsTheCaveAsItWas)
{
    Keyboard keys;
    Auto_Runner runner;
    Run_Report report;
    testing::internal::CaptureStdout();
    // Level 1 sets its ice fog and look near the start, behind its first checkpoint.
    StartLevel(1, keys);
    const bool reached = PlayTo(runner, keys, report, 330.0f);
    const Shot before = Capture();
    gGraphics.Render();
    keys.ReleaseAll();
    ASSERT_TRUE(reached);
    ASSERT_GT(gPlayer.mCheckpointZ, 0.0f);
    // Past the checkpoint a level may change its fog and look again, as triggers do.
    gGraphics.SetFogParameters(0.8f, 1.0f, 6.0f);
    gBackground.SetOverlayCeiling("CEILING");
    gBackground.SetOverlayFloor("FLOOR");
    gBackground.SetOverlayWall("WALL");

    // Caught: the claw and the jaws play out, then the first item, "Continue from last
    // checkpoint".
    gEnvironment.gDragonDistance = gPlayer.mZ;
    gGameState.CheckPlayTransitions();
    ASSERT_EQ(gGameState.GetScreen(), Game_State::DEATH);
    for (int frame = 0; frame < 130; ++frame)
        ScreenFrame();
    PressOnScreen(KEY_RETURN);
    ResumePlay();
    Run_Report again;
    const bool back = PlayTo(runner, keys, again, 330.0f);
    const Shot after = Capture();
    gGraphics.Render();
    keys.ReleaseAll();
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(back);
    std::printf("level 1 corridor before the catch (%.0f %.0f %.0f), after the respawn (%.0f %.0f %.0f)\n",
                before.mMean[0], before.mMean[1], before.mMean[2], after.mMean[0], after.mMean[1],
                after.mMean[2]);
    EXPECT_LT(Distance(before, after), 12.0);
    EXPECT_EQ(gHUD.GetTexture(), "HUD_ICE");
}

// Caught: each line of the death menu ends well inside its parchment card, however long
// (the card is drawn behind at its own depth, the words in front).
TEST_F(Level_Looks, DeathMenuLinesEndInsideTheirCard)
{
    Keyboard keys;
    testing::internal::CaptureStdout();
    StartLevel(0, keys);
    gEnvironment.gDragonDistance = gPlayer.mZ;
    gGameState.CheckPlayTransitions();
    ASSERT_EQ(gGameState.GetScreen(), Game_State::DEATH);
    // The claw and the jaws take 99 frames; the menu is drawn anew once, then from its copy.
    Shot fresh;
    for (int frame = 0; frame < 130; ++frame)
    {
        const Shot shot = ScreenFrame();
        if (frame == 99)
            fresh = shot;
    }
    const Shot menu = ScreenFrame();
    Save(menu, "death_menu");
    EXPECT_EQ(DifferingOutsideTheArrow(fresh, menu), 0) << "the copy is not the menu it stands in for";
    PressOnScreen(KEY_DOWN);
    PressOnScreen(KEY_RETURN); // "Quit", back to the main menu
    testing::internal::GetCapturedStdout();

    const float halfWidth = Camera::GetVisibleHalfWidth(0.0f);
    const char* const LINES[] = {"Continue from last checkpoint", "Quit"};
    for (int i = 0; i < 2; ++i)
    {
        gFont.SetScale(0.75f);
        const std::vector<Font::Placed_Glyph> glyphs =
            gFont.Layout(LINES[i], i == 0 ? -0.5f : -0.525f, 0.2f - 0.1f * i);
        const float end = glyphs.back().mX + 0.75f * Font::ADVANCE / 2.0f;
        gFont.SetScale(1.0f);
        const int x0 = static_cast<int>(SCREEN_WIDTH / 2.0 * (1.0 + end / halfWidth)) + 2;
        const int y = static_cast<int>(SCREEN_HEIGHT / 2.0 * (1.0 + glyphs.back().mY));
        // Pale card from the end of the words to its dark rim.
        int card = 0;
        for (int x = x0; x < SCREEN_WIDTH; ++x, ++card)
        {
            const unsigned char* p = &menu.mPixels[(y * SCREEN_WIDTH + x) * 3];
            if (p[0] + p[1] + p[2] < 3 * 120)
                break;
        }
        std::printf("\"%s\" ends %d px before the card's edge\n", LINES[i], card);
        EXPECT_GE(card, 20) << LINES[i];
    }
}

// The jaws close over the runner without a seam: no row of the picture, while they
// move, holds a long one-pixel line darker than the pale rows above and below it.
TEST_F(Level_Looks, JawsCloseWithoutASeamAcrossTheTeeth)
{
    Keyboard keys;
    testing::internal::CaptureStdout();
    StartLevel(0, keys);
    gEnvironment.gDragonDistance = gPlayer.mZ;
    gGameState.CheckPlayTransitions();
    ASSERT_EQ(gGameState.GetScreen(), Game_State::DEATH);
    int longest = 0, where = -1, when = -1;
    for (int frame = 0; frame < 100; ++frame)
    {
        const Shot shot = ScreenFrame();
        if (frame < 50) // the claw; the jaws follow
            continue;
        auto grey = [&](int x, int y)
        {
            const unsigned char* p = &shot.mPixels[(y * SCREEN_WIDTH + x) * 3];
            return (p[0] + p[1] + p[2]) / 3;
        };
        for (int y = 1; y < SCREEN_HEIGHT - 1; ++y)
            for (int x = 0, run = 0; x < SCREEN_WIDTH; ++x)
            {
                const int above = grey(x, y + 1), below = grey(x, y - 1), line = grey(x, y);
                run = above > 120 && below > 120 && line < above - 20 && line < below - 20 ? run + 1 : 0;
                if (run > longest)
                {
                    longest = run;
                    where = SCREEN_HEIGHT - 1 - y;
                    when = frame;
                }
            }
    }
    PressOnScreen(KEY_DOWN);
    testing::internal::GetCapturedStdout();
    std::printf("longest dark line: %d px, row %d, frame %d\n", longest, where, when);
    EXPECT_LT(longest, 30) << "a seam across the teeth at row " << where << " in frame " << when;
}

// The level-complete screen turns the fog off for the cave map; the next level is
// played in fog again once the menus hand back.
TEST_F(Level_Looks, TheLevelAfterTheCaveMapIsPlayedInFog)
{
    Keyboard keys;
    testing::internal::CaptureStdout();
    StartLevel(0, keys);
    gGraphics.DisableFog();
    gGameState.GoTo(Game_State::CAVE_MAP, "NONE");
    ScreenFrame();
    PressOnScreen(KEY_RETURN);
    ResumePlay();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(gGameState.GetLevel(), 1);
    EXPECT_EQ(glIsEnabled(GL_FOG), GL_TRUE);
}

TEST_F(Level_Looks, PauseMenuShowsTheWorldAsItIsNow)
{
    Keyboard keys;
    Auto_Runner runner;
    Run_Report report;
    testing::internal::CaptureStdout();
    StartLevel(1, keys);
    // The pause menu a few frames in (standing in from its copy) against the same menu
    // drawn anew (the cursor moved away and back); then play resumes.
    Shot moved;
    const auto pause = [&](Shot& first, Shot& shown, Shot& fresh)
    {
        keys.ReleaseAll();
        gGameState.EnterPause();
        first = ScreenFrame();
        for (int frame = 0; frame < 3; ++frame)
            shown = ScreenFrame();
        PressOnScreen(KEY_DOWN);
        moved = ScreenFrame();
        PressOnScreen(KEY_UP);
        fresh = ScreenFrame();
        PressOnScreen(KEY_P);
        ResumePlay();
    };
    Shot first1, shown1, fresh1, first2, shown2, fresh2, first3, shown3, fresh3;
    ASSERT_TRUE(PlayTo(runner, keys, report, 400.0f));
    gGraphics.Render();
    pause(first1, shown1, fresh1);
    // Play moves on; the second pause must not show the world of the first.
    ASSERT_TRUE(PlayTo(runner, keys, report, 450.0f));
    gGraphics.Render();
    pause(first2, shown2, fresh2);
    // Paused on the last frame of a claw attack: drawing ends it, and the copy must
    // not keep its claw.
    ASSERT_TRUE(PlayTo(runner, keys, report, 500.0f));
    gGraphics.Render();
    const int32_t idle = HUD_Probe::Claw(gHUD).mFrame;
    HUD_Probe::Claw(gHUD).mFrame = idle - 1;
    HUD_Probe::Claw(gHUD).mCount = 1;
    gHUD.Show();
    ASSERT_FALSE(gHUD.IsStill());
    pause(first3, shown3, fresh3);
    testing::internal::GetCapturedStdout();
    keys.ReleaseAll();

    EXPECT_EQ(DifferingOutsideTheArrow(shown1, fresh1), 0);
    EXPECT_GT(DifferingOutsideTheArrow(first1, first2), 10000)
        << "the second pause shows the first one's world";
    EXPECT_EQ(DifferingOutsideTheArrow(shown2, fresh2), 0);
    EXPECT_GT(DifferingOutsideTheArrow(first3, shown3), 0) << "the claw is in the first frame only";
    EXPECT_EQ(DifferingOutsideTheArrow(shown3, fresh3), 0) << "the claw's last pose stands behind the menu";
    EXPECT_GT(DifferingOutsideTheArrow(shown3, moved), 0) << "the glow stays on the line the cursor left";
}

// The credits run's signs must stay readable for a while each: drawn at least
// SIGN_PX high (letters of about 8 pixels), on screen, not yet taken, and at least
// 30% clear of the fog, for 1.5 s of play or more. The moment the studio's sign
// first counts as readable is saved as a picture to check that by eye.
TEST_F(Level_Looks, CreditSignsStayReadableForOneAndAHalfSeconds)
{
    const double SIGN_PX = 30.0;
    Keyboard keys;
    Auto_Runner runner;
    Run_Report report;
    testing::internal::CaptureStdout();
    StartLevel(7, keys);
    std::vector<Entity*> signs;
    for (const std::unique_ptr<Entity>& e : gEntities.GetEntities())
        if (dynamic_cast<Treasure*>(e.get()) && e->GetAttribute("IMAGE").rfind("CREDIT_", 0) == 0)
            signs.push_back(e.get());
    std::vector<int> readable(signs.size(), 0);
    while (PlayFrame(runner, keys, report))
        for (size_t i = 0; i < signs.size(); ++i)
        {
            Entity* e = signs[i];
            if (!e->mOnScreen)
                continue;
            const Quad q = gCamera.ProjectBox(e->mX, e->mY, 2.0f * e->mSize * e->mHalfWidth,
                                              2.0f * e->mSize * e->mHalfHeight, e->mZ);
            const double distance = 2.41 - q.mZ;
            const double halfHeight = distance * std::tan(22.5 * M_PI / 180.0);
            const double px = q.mHeight / halfHeight * SCREEN_HEIGHT / 2.0;
            const double top = q.mY + q.mHeight / 2.0, bottom = q.mY - q.mHeight / 2.0;
            const double fog =
                (gGraphics.GetFogEnd() - distance) / (gGraphics.GetFogEnd() - gGraphics.GetFogStart());
            if (px >= SIGN_PX && top <= halfHeight && bottom >= -halfHeight && fog >= 0.3)
            {
                if (readable[i]++ == 0 && i == 2)
                {
                    DrawWorld();
                    Save(Capture(), "credit_3_first_readable");
                    gGraphics.Render();
                }
            }
        }
    testing::internal::GetCapturedStdout();
    keys.ReleaseAll();
    ASSERT_EQ(signs.size(), 6u) << "the credits run has six signs";
    for (size_t i = 0; i < signs.size(); ++i)
    {
        std::printf("%s readable for %.2f s\n", signs[i]->GetAttribute("IMAGE").c_str(), readable[i] / 60.0);
        EXPECT_GE(readable[i], 90) << signs[i]->GetAttribute("IMAGE");
    }
}

} // namespace

// The mean brightness of the whole window, 0 to 255.
double WindowBrightness(const Shot& shot)
{
    double sum = 0.0;
    for (unsigned char v : shot.mPixels)
        sum += v;
    return sum / shot.mPixels.size();
}

// The window's brightness at the height of a knock's red flash, and without one.
void KnockFlash(double& calm, double& flash)
{
    HUD_Probe::HurtTimer(gHUD) = 0;
    DrawWorld();
    gGraphics.Render();
    DrawWorld();
    calm = WindowBrightness(Capture());
    gGraphics.Render();
    HUD::Play_State play{gPlayer.mScore,
                         gPlayer.mHeldItem,
                         gPlayer.mX,
                         gPlayer.mY,
                         true,
                         gGameState.GetPlayerProgress(),
                         gGameState.GetDragonProgress(),
                         gPlayer.mZ,
                         gEnvironment.gDragonDistance};
    gHUD.Update(play);
    // The backdrop takes the red from the frame after the HUD's.
    DrawWorld();
    gGraphics.Render();
    DrawWorld();
    flash = WindowBrightness(Capture());
    gGraphics.Render();
}

// With flashing reduced, a knock may change the picture's brightness by at most a third
// of the change it makes at full flashing, and a second knock within a third of a
// second starts no new flash.
TEST_F(Level_Looks, ReducedFlashingDimsAKnocksFlashToAThird)
{
    Keyboard keys;
    Auto_Runner runner;
    Run_Report report;
    testing::internal::CaptureStdout();
    StartLevel(1, keys);
    ASSERT_TRUE(PlayTo(runner, keys, report, 400.0f));
    keys.ReleaseAll();
    testing::internal::GetCapturedStdout();

    double calm = 0.0, flash = 0.0, calmReduced = 0.0, flashReduced = 0.0;
    gReduceFlashing = false;
    KnockFlash(calm, flash);
    gReduceFlashing = true;
    for (int frame = 0; frame < 30; ++frame) // past the last flash's spacing
        gHUD.Update({gPlayer.mScore, nullptr, gPlayer.mX, gPlayer.mY, false, 0.5f, 0.0f, gPlayer.mZ, 0.0f});
    KnockFlash(calmReduced, flashReduced);
    const float firstFlash = gHUD.HurtFlash();
    gHUD.Update({gPlayer.mScore, nullptr, gPlayer.mX, gPlayer.mY, true, 0.5f, 0.0f, gPlayer.mZ, 0.0f});
    const float secondKnock = gHUD.HurtFlash();
    gReduceFlashing = false;
    std::printf("brightness at a knock: %.1f to %.1f full, %.1f to %.1f reduced\n", calm, flash, calmReduced,
                flashReduced);
    ASSERT_GT(std::fabs(flash - calm), 10.0) << "a knock at full flashing must show";
    EXPECT_GT(std::fabs(flashReduced - calmReduced), 0.5) << "a reduced knock must still show";
    EXPECT_LE(std::fabs(flashReduced - calmReduced), std::fabs(flash - calm) / 3.0);
    EXPECT_LT(secondKnock, firstFlash);
}
