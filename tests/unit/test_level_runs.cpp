// Every level can be finished: the automatic runner plays each one through the real
// game logic and keys, and the dragon must never catch it. No window: SDL's dummy video
// driver carries the key events.

#include <gtest/gtest.h>

#include <sstream>

#include "Audio/Sound_Manager.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "Level/Level_Loader.h"
#include "tests/support/HUD_Probe.h"
#include "tools/runners/Auto_Runner.h"
#include "tools/runners/Human_Runner.h"

namespace
{

using namespace auto_run;

class Level_Runs : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SetClockSource(&FakeClock);
        std::srand(7);
        testing::internal::CaptureStdout();
        gImageBank.LoadImageList(IMAGE_PATH, IMAGE_INFO_FILE, nullptr);
        testing::internal::GetCapturedStdout();
        gInput.Init(0, 800);
        for (int key : {KEY_LEFT, KEY_RIGHT, KEY_SPACE})
            gInput.RegisterKey(key);
        gKeyboardControl = true;
        gMouseControl = false;
        gGameState.Init();
        gPlayer.Init();
        gHUD.Init();
        gBackground.Init();
        gCamera.Init(0.0f, 1000.0f, 0.0f, 1.0f, 1000.0f);
    }
    static void TearDownTestSuite()
    {
        gEntities.Clear();
        SetClockSource(nullptr);
        SDL_Quit();
    }

    static void Expect(int level)
    {
        Keyboard keys;
        testing::internal::CaptureStdout();
        StartLevel(level, keys);
        const std::string loadOutput = testing::internal::GetCapturedStdout();
        EXPECT_EQ(gGameState.GetScreen(), Game_State::PLAY);
        EXPECT_EQ(loadOutput.find("could not"), std::string::npos) << loadOutput;

        Auto_Runner runner;
        Run_Report r;
        const int limit = static_cast<int>(gEntities.GetLastZ() * 3.0f) + 3000;
        testing::internal::CaptureStdout(); // the entity list counts out loud
        while (r.mFrames < limit && PlayFrame(runner, keys, r))
        {
        }
        testing::internal::GetCapturedStdout();
        keys.ReleaseAll();

        std::printf("level %d: %s after %d frames (%.0f s), %d hits, dragon never nearer than %.0f, "
                    "score %d, %d jumps, %d springs ridden, %d boosts\n",
                    level,
                    r.mPassed   ? "passed"
                    : r.mCaught ? "CAUGHT"
                                : "unfinished",
                    r.mFrames, r.mFrames / 60.0, r.mHits, r.mClosestGap, r.mScore, r.mJumps, r.mSprings,
                    r.mBoosts);
        EXPECT_FALSE(r.mCaught) << "level " << level;
        EXPECT_TRUE(r.mPassed) << "level " << level;
        EXPECT_GT(r.mScore, 0) << "level " << level;
    }
};

// The dragon gains its 0.8 a frame through the main loop's own frame of play, and the HUD
// hears where it is; a runner held still sees it close in.
TEST_F(Level_Runs, DragonClosesInDuringPlay)
{
    Keyboard keys;
    testing::internal::CaptureStdout();
    StartLevel(0, keys);
    testing::internal::GetCapturedStdout();
    const float start = gEnvironment.gDragonDistance;
    const float runner = gPlayer.mZ;
    testing::internal::CaptureStdout();
    for (int frame = 0; frame < 100; ++frame)
    {
        gInput.Update();
        UpdatePlay();
        gPlayer.mZ = runner; // held at the start line
    }
    testing::internal::GetCapturedStdout();
    EXPECT_NEAR(gEnvironment.gDragonDistance - start, 80.0f, 0.01f);
    EXPECT_NEAR(gHUD.Panic(), 1.0f - (runner - gEnvironment.gDragonDistance) / 300.0f, 0.01f);
    EXPECT_GT(gHUD.Panic(), HUD_Probe::PreviousPanic(gHUD));
}

TEST_F(Level_Runs, Level0)
{
    Expect(0);
}
TEST_F(Level_Runs, Level1)
{
    Expect(1);
}
TEST_F(Level_Runs, Level2)
{
    Expect(2);
}
TEST_F(Level_Runs, Level3)
{
    Expect(3);
}
TEST_F(Level_Runs, Level4)
{
    Expect(4);
}
TEST_F(Level_Runs, Level5)
{
    Expect(5);
}
TEST_F(Level_Runs, Level6)
{
    Expect(6);
}
TEST_F(Level_Runs, Level7)
{
    Expect(7);
}

} // namespace

// The difficulty curve's order, on a small seeded sample of the human-like runner (the
// full measurement is `make levels-report`): the first level is finished every time,
// and knocks rise from the first level through the middle one to the last hard one.
TEST_F(Level_Runs, HumanLikeRunnerFindsTheLevelsHarderInOrder)
{
    human_run::SetUp();
    const int runs = 6;
    double knocks[3] = {0, 0, 0};
    int finished[3] = {0, 0, 0};
    const int levels[3] = {0, 3, 6};
    testing::internal::CaptureStdout();
    for (int i = 0; i < 3; ++i)
        for (int run = 0; run < runs; ++run)
        {
            const human_run::Run_Report r = human_run::PlayLevel(levels[i], 1000u * levels[i] + run);
            knocks[i] += r.mHits;
            finished[i] += r.mFinished;
        }
    testing::internal::GetCapturedStdout();
    SetClockSource(&FakeClock);
    for (int i = 0; i < 3; ++i)
        std::printf("level %d: %d of %d finished, %.1f knocks a run\n", levels[i], finished[i], runs,
                    knocks[i] / runs);
    EXPECT_EQ(finished[0], runs);
    EXPECT_LT(knocks[0], knocks[1]);
    EXPECT_LT(knocks[1], knocks[2]);
    EXPECT_LE(finished[2], finished[0]);
}

// In play the fog turns from the level's own to white over the level's last fifth.
TEST_F(Level_Runs, TheLastFifthOfPlayFadesTheFogToWhite)
{
    Keyboard keys;
    testing::internal::CaptureStdout();
    StartLevel(0, keys);
    gInput.Update();
    UpdatePlay();
    const float levelFog = gGraphics.GetFogColour()[0];
    gPlayer.mZ = gEntities.GetLastZ() * 0.95f;
    gEnvironment.gDragonDistance = gPlayer.mZ - 250.0f;
    gInput.Update();
    UpdatePlay();
    testing::internal::GetCapturedStdout();
    EXPECT_LT(levelFog, 0.5f);
    EXPECT_GT(gGraphics.GetFogColour()[0], 0.7f);
}

// The frame of play carries out what the HUD asks, in the frame it asks: a knock flashes
// red, and a claw attack (the dragon past three quarters of the panic) has the dragon
// call out and shakes the cave for 40 frames by a tenth of twice the panic. Last in the
// file: the voice banks it fills change how often the runners above draw a random number.
TEST_F(Level_Runs, AKnockAndAClawInOneFrameFlashCallOutAndShake)
{
    Keyboard keys;
    testing::internal::CaptureStdout();
    StartLevel(0, keys);
    gEntities.Clear();
    std::istringstream level("T: 2 D: 2 X: 0.5 A:\nT: 0 D: 1000 X: 0.5 A: IMAGE GEM VALUE 5\n");
    ASSERT_TRUE(Level_Loader::Read(level, gEntities.GetEntities(), gEntities.GetOverlay()));
    gEntities.ResetWindow();
    gEnvironment.Init();
    gEnvironment.gDragonDistance = gPlayer.mZ - 70.0f;
    gInput.Update();
    UpdatePlay();
    const std::string said = testing::internal::GetCapturedStdout();

    ASSERT_TRUE(gPlayer.mHitThisFrame) << "the spike just ahead knocks the runner";
    EXPECT_GT(gHUD.HurtFlash(), 0.0f);
    ASSERT_GT(gHUD.Panic(), 0.75f);
    EXPECT_TRUE(gBackground.mQuakeActive);
    EXPECT_EQ(gBackground.mQuakeFrames, 40) << "the level start's quake lasts 100";
    EXPECT_NEAR(gBackground.mQuakeAmplitude, 0.2f * gHUD.Panic(), 1e-4f);
    EXPECT_FLOAT_EQ(gSound.GetVoiceLevel(), gHUD.Panic()) << "the dragon's lines grow loud as it nears";
    const std::vector<std::string>& lines = gEnvironment.mAttackLines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), gSound.GetVoiceName()), lines.end()) << said;
}
