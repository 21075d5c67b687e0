#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "Audio/Sound_Manager.h"
#include "Core/Clock.h"
#include "Core/Constants.h"
#include "Core/Game_Timer.h"
#include "Entities/Player.h"
#include "Game/Game_State.h"
#include "Game/HUD.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "Level/Level_Loader.h"
#include "World/Camera.h"
#include "World/Entity_Handler.h"
#include "World/Environment_Handler.h"
#include "World/Floating_Text.h"
#include "tests/support/Key_Pusher.h"

namespace
{
typedef Game_State::Screen Screen;

const Screen LOGO = &Game_State::TeamLogoScreen;
const Screen MAIN_MENU = &Game_State::MainMenuScreen;
const Screen INTRO = &Game_State::IntroScreen;
const Screen CREDITS = &Game_State::CreditsScreen;
const Screen PAUSE = &Game_State::PauseScreen;
const Screen DEATH = &Game_State::DeathScreen;
const Screen LEVEL_COMPLETE = &Game_State::LevelCompleteScreen;
const Screen CAVE_MAP = &Game_State::CaveMapScreen;
const Screen RESULTS = &Game_State::ResultsScreen;
const Screen HIGH_SCORES = &Game_State::HighScoreScreen;

int64_t FakeNow()
{
    static int64_t now = 0;
    return now += 16;
}
void FakeSleep(uint32_t) {}

void PushEvent(Uint8 type, int key)
{
    ASSERT_TRUE(test_keys::PushKey(key, type == SDL_KEYDOWN));
}

// A frame of input in which the key goes down.
void Press(int key)
{
    PushEvent(SDL_KEYDOWN, key);
    gInput.Update();
}

// A frame of input in which the key comes up again (nothing is pressed).
void Release(int key)
{
    PushEvent(SDL_KEYUP, key);
    gInput.Update();
}

// A frame of input with nothing new.
void Quiet()
{
    gInput.Update();
}

void Run(Game_State& gs)
{
    ASSERT_TRUE(gs.mScreen != nullptr);
    (gs.*(gs.mScreen))();
}

// One frame of the screen with the key pressed, then the key let go.
void Tap(Game_State& gs, int key)
{
    Press(key);
    Run(gs);
    Release(key);
}

// Quiet frames of the screen.
void Frames(Game_State& gs, int count)
{
    for (int i = 0; i < count && gs.mScreen; ++i)
    {
        Quiet();
        Run(gs);
    }
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A short level of two treasures, far ahead of the runner.
void LoadTestLevel()
{
    gEntities.Clear();
    std::istringstream level("T: 0 D: 1000 X: 0.5 A: IMAGE GEM VALUE 5\n"
                             "T: 0 D: 2000 X: 0.5 A: IMAGE GEM VALUE 5\n");
    ASSERT_TRUE(Level_Loader::Read(level, gEntities.GetEntities(), gEntities.GetOverlay()));
    gEntities.ResetWindow();
}

class FlowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO));
        gInput.Init(0, 800);
        for (int key : {KEY_M, KEY_K, KEY_O, KEY_B, KEY_P, KEY_RETURN, KEY_DOWN, KEY_UP, KEY_LEFT, KEY_RIGHT,
                        KEY_SPACE, KEY_KP_PLUS, KEY_KP_MINUS, KEY_F, KEY_S, KEY_E, KEY_D, KEY_W})
            gInput.RegisterKey(key);
    }
    static void TearDownTestSuite()
    {
        gEntities.Clear();
        SDL_Quit();
    }
    void SetUp() override
    {
        SDL_Event e;
        while (SDL_PollEvent(&e))
        {
        }
        Quiet();
        mTimer.SetTimeSource(&FakeNow, &FakeSleep);
        gPlayer.mScore = 0;
        gPlayer.mLevelStartScore = 0;
        gPlayer.mZ = Player::START_Z;
        gEnvironment.Reset();
        gHUD.Init();
        gHUD.Show();
        LoadTestLevel();
    }
    Game_State gs;
    Game_Timer mTimer;
};
} // namespace

TEST_F(FlowTest, LogoGivesWayToTheMainMenu)
{
    gs.Init();
    ASSERT_TRUE(gs.mScreen == LOGO);
    EXPECT_EQ("TEAM_LOGO", gs.mBackdrop.mKey);
    int frames = 0;
    while (gs.mScreen == LOGO && frames < 1000)
    {
        gs.RunScreenFrame(mTimer);
        ++frames;
    }
    // About 67 frames standing and 100 fading.
    EXPECT_GE(frames, 160);
    EXPECT_LE(frames, 175);
    EXPECT_TRUE(gs.mScreen == MAIN_MENU);
    EXPECT_EQ("NONE", gs.mBackdrop.mKey);

    Game_State skipped;
    skipped.Init();
    Tap(skipped, KEY_RETURN);
    EXPECT_TRUE(skipped.mScreen == MAIN_MENU);
}

TEST_F(FlowTest, MainMenuMovesItsItemsAndLeadsToStoryOrCredits)
{
    gs.mScreen = MAIN_MENU;
    gPlayer.mScore = 70;
    gPlayer.mLevelStartScore = 30;
    gs.mLevel = 5;
    Frames(gs, 1);
    EXPECT_EQ(0, gs.mLevel);
    EXPECT_EQ(0, gPlayer.mScore);
    EXPECT_EQ(0, gPlayer.mLevelStartScore);
    EXPECT_FLOAT_EQ(0.5f, gs.mStartDepth);
    EXPECT_FLOAT_EQ(-2.0f, gs.mOptionsDepth);

    Tap(gs, KEY_RIGHT);
    EXPECT_FALSE(gs.mStartSelected);
    Frames(gs, 1);
    EXPECT_FLOAT_EQ(-1.5f, gs.mOptionsDepth);
    EXPECT_FLOAT_EQ(0.0f, gs.mStartDepth);
    Frames(gs, 10);
    EXPECT_FLOAT_EQ(0.5f, gs.mOptionsDepth);
    EXPECT_FLOAT_EQ(-2.0f, gs.mStartDepth);

    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == CREDITS);
    EXPECT_EQ("CREDITS", gs.mBackdrop.mKey);

    gs.mScreen = MAIN_MENU;
    Tap(gs, KEY_LEFT);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == INTRO);
    EXPECT_FALSE(gs.mQuit);
}

// An idle main menu leaves its picture standing, but anything that changes it, or a
// window that lost it, must be drawn again at once.
TEST_F(FlowTest, MainMenuDrawsAgainWhenItsPictureChangesOrIsLost)
{
    gs.mScreen = MAIN_MENU;
    gs.SetBackdrop("NONE");
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(gs.mSkipRender);
    gs.RunScreenFrame(mTimer);
    EXPECT_TRUE(gs.mSkipRender);

    Tap(gs, KEY_RIGHT);
    int drawn = 0;
    for (int i = 0; i < 10; ++i)
    {
        gs.RunScreenFrame(mTimer);
        drawn += gs.mSkipRender ? 0 : 1;
    }
    EXPECT_EQ(5, drawn) << "the items move for five frames, each of them drawn";
    EXPECT_TRUE(gs.mSkipRender);

    SDL_Event expose;
    std::memset(&expose, 0, sizeof expose);
    expose.type = SDL_VIDEOEXPOSE;
    SDL_PushEvent(&expose);
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(gs.mSkipRender) << "an uncovered window is drawn again";

    gFloatingTexts.Add("+10", 3.0f, 0.0f, 0.0f, 0.0f, Tint(), 0.0f, 0.5f, 0.0f, Tint());
    drawn = 0;
    for (int i = 0; i < 6; ++i)
    {
        gs.RunScreenFrame(mTimer);
        drawn += gs.mSkipRender ? 0 : 1;
    }
    EXPECT_GE(drawn, 3) << "a drifting text is drawn on every frame it lives";
    EXPECT_EQ(0u, gFloatingTexts.Count());
    EXPECT_TRUE(gs.mSkipRender);

    // Another screen draws over the window, so coming back draws the menu at once.
    gs.mScreen = INTRO;
    gs.RunScreenFrame(mTimer);
    gs.mScreen = MAIN_MENU;
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(gs.mSkipRender);
}

TEST_F(FlowTest, ClosingTheWindowQuitsOnlyFromTheMainMenu)
{
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;

    gs.Init();
    SDL_PushEvent(&quit);
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(gs.mQuit);
    EXPECT_TRUE(gs.mScreen == LOGO);

    gs.mScreen = INTRO;
    SDL_PushEvent(&quit);
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(gs.mQuit);
    EXPECT_TRUE(gs.mScreen == INTRO);

    // Paused by a close during play, a second close resumes.
    gs.EnterPause();
    SDL_PushEvent(&quit);
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(gs.mQuit);
    EXPECT_TRUE(gs.mScreen == nullptr);

    gs.mScreen = MAIN_MENU;
    SDL_PushEvent(&quit);
    gs.RunScreenFrame(mTimer);
    EXPECT_TRUE(gs.mQuit);
    EXPECT_TRUE(gs.mScreen == nullptr);
}

TEST_F(FlowTest, ProcessMenusReturnsWhenPlayResumes)
{
    gs.EnterPause();
    PushEvent(SDL_KEYDOWN, KEY_P);
    const size_t depth = gGraphics.GetColourDepth();
    gs.ProcessMenus(mTimer);
    EXPECT_TRUE(gs.mScreen == nullptr);
    EXPECT_EQ(depth, gGraphics.GetColourDepth());
    Release(KEY_P);

    // During play it only looks for the end of the level, a catch or a pause.
    gs.ProcessMenus(mTimer);
    EXPECT_TRUE(gs.mScreen == nullptr);
}

TEST_F(FlowTest, PauseMenuCursorWrapsAndChoosesItsItem)
{
    gs.EnterPause();
    EXPECT_FLOAT_EQ(0.2f, gs.PauseCursorY());
    Tap(gs, KEY_UP);
    EXPECT_FLOAT_EQ(-0.1f, gs.PauseCursorY()); // up from the top: "Quit to main menu"
    Tap(gs, KEY_DOWN);
    EXPECT_FLOAT_EQ(0.2f, gs.PauseCursorY()); // down from the bottom: "Continue"
    Tap(gs, KEY_DOWN);
    Tap(gs, KEY_DOWN);
    EXPECT_FLOAT_EQ(0.0f, gs.PauseCursorY());
    Tap(gs, KEY_DOWN);
    EXPECT_FLOAT_EQ(-0.1f, gs.PauseCursorY());
    EXPECT_TRUE(gs.mScreen == PAUSE);

    gHUD.Hide();
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == MAIN_MENU);
    EXPECT_FALSE(gHUD.IsHidden());
    EXPECT_FLOAT_EQ(0.2f, gs.PauseCursorY()); // back on the first item for next time

    // "Continue" and p both go back to play, with the level music again.
    gs.EnterPause();
    Frames(gs, 1);
    EXPECT_EQ("", gSound.GetMusicName());
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == nullptr);
    EXPECT_EQ(MUSIC_LEVEL, gSound.GetMusicName());
    gs.EnterPause();
    Tap(gs, KEY_P);
    EXPECT_TRUE(gs.mScreen == nullptr);
}

// Left turns the sound down a tenth, Right up a tenth, each within 0 to 1, and the
// menu stays open and its cursor where it was.
TEST_F(FlowTest, PauseMenuLeftAndRightSetTheVolume)
{
    gSound.SetVolume(0.5f);
    gs.EnterPause();
    Tap(gs, KEY_LEFT);
    EXPECT_NEAR(0.4f, gSound.GetVolume(), 1e-5f);
    Tap(gs, KEY_LEFT);
    EXPECT_NEAR(0.3f, gSound.GetVolume(), 1e-5f);
    Tap(gs, KEY_RIGHT);
    EXPECT_NEAR(0.4f, gSound.GetVolume(), 1e-5f);
    EXPECT_TRUE(gs.mScreen == PAUSE);
    EXPECT_FLOAT_EQ(0.2f, gs.PauseCursorY());

    for (int i = 0; i < 12; ++i)
        Tap(gs, KEY_RIGHT);
    EXPECT_FLOAT_EQ(1.0f, gSound.GetVolume());
    for (int i = 0; i < 12; ++i)
        Tap(gs, KEY_LEFT);
    EXPECT_FLOAT_EQ(0.0f, gSound.GetVolume());
    gSound.SetVolume(1.0f);
}

TEST_F(FlowTest, PauseAndCheckpointRestartsKeepTheLevelStartScore)
{
    // No checkpoint: "continue from last checkpoint" plays the level again.
    gPlayer.mLevelStartScore = 40;
    gPlayer.mScore = 95;
    gPlayer.mZ = 900.0f;
    Entity* first = gEntities.GetEntities().at(0).get();
    gs.EnterPause();
    Tap(gs, KEY_DOWN);
    EXPECT_FLOAT_EQ(0.1f, gs.PauseCursorY());
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == nullptr);
    EXPECT_EQ(40, gPlayer.mScore);
    EXPECT_FLOAT_EQ(Player::START_Z, gPlayer.mZ);
    // The level was not read again: the same objects stand ready.
    ASSERT_EQ(2u, gEntities.GetEntities().size());
    EXPECT_EQ(first, gEntities.GetEntities()[0].get());

    // "Replay" does the same.
    gPlayer.mScore = 60;
    gs.EnterPause();
    Tap(gs, KEY_UP);
    Tap(gs, KEY_UP);
    EXPECT_FLOAT_EQ(0.0f, gs.PauseCursorY());
    testing::internal::CaptureStdout();
    Tap(gs, KEY_RETURN);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(gs.mScreen == nullptr);
    EXPECT_EQ(40, gPlayer.mScore);
    EXPECT_EQ(40, gPlayer.mLevelStartScore);
    EXPECT_EQ(first, gEntities.GetEntities()[0].get());
    EXPECT_EQ(std::string::npos, out.find("Level file could not be found or loaded"));
    EXPECT_FALSE(gs.mQuit);
}

TEST_F(FlowTest, APauseInTheFrameOfACatchWins)
{
    gPlayer.mZ = 500.0f;
    gEnvironment.gDragonDistance = 600.0f;
    ASSERT_FALSE(gEntities.IsLevelPassed());

    Press(KEY_P);
    gs.CheckPlayTransitions();
    EXPECT_TRUE(gs.mScreen == PAUSE);
    Release(KEY_P);
    Tap(gs, KEY_P);
    ASSERT_TRUE(gs.mScreen == nullptr);

    // The catch is found on the first frame of play after the pause.
    gs.CheckPlayTransitions();
    EXPECT_TRUE(gs.mScreen == DEATH);
    EXPECT_TRUE(gHUD.IsHidden());
}

TEST_F(FlowTest, TheEndOfALevelOpensTheLevelCompleteScreen)
{
    gs.CheckPlayTransitions();
    EXPECT_TRUE(gs.mScreen == nullptr);
    gs.MovePlayerToEnd();
    EXPECT_FLOAT_EQ(gEntities.GetLastZ(), gPlayer.mZ);
    EXPECT_FLOAT_EQ(1.0f, gs.GetPlayerProgress());
    gCamera.Init(0.0f, gEntities.GetLastZ(), 0.0f, 1.0f, 500.0f);
    // The runner keeps running past the last object until it is behind the camera.
    for (int i = 0; i < 100 && !gEntities.IsLevelPassed(); ++i)
    {
        gPlayer.mZ += 5.0f;
        gCamera.SetPosition(gPlayer.mZ);
        gEntities.Update(gPlayer);
    }
    gs.CheckPlayTransitions();
    EXPECT_TRUE(gs.mScreen == LEVEL_COMPLETE);
}

TEST_F(FlowTest, DeathScreenPlaysOutBeforeItsMenu)
{
    gHUD.Hide();
    gs.mScreen = DEATH;
    // Enter during the claw and the jaws does nothing.
    for (int frame = 0; frame < 99; ++frame)
    {
        if (frame == 10 || frame == 75)
            Tap(gs, KEY_RETURN);
        else
            Frames(gs, 1);
        ASSERT_TRUE(gs.mScreen == DEATH) << "left on frame " << frame;
    }
    EXPECT_TRUE(gs.mDeathClawDone);
    EXPECT_EQ(50, gs.mDeathJawFrame);
    // The runner's spin was for the picture only.
    EXPECT_FLOAT_EQ(0.0f, gPlayer.mAnimation.mRotation.mAngle);

    // The burp comes 70 frames after the jaws shut, and the counter stops there.
    Frames(gs, 100);
    EXPECT_EQ(121, gs.mDeathJawFrame);

    EXPECT_FLOAT_EQ(0.2f, gs.DeathCursorY());
    Tap(gs, KEY_DOWN);
    EXPECT_FLOAT_EQ(0.1f, gs.DeathCursorY());
    Tap(gs, KEY_DOWN);
    EXPECT_FLOAT_EQ(0.2f, gs.DeathCursorY());
    Tap(gs, KEY_UP);
    EXPECT_FLOAT_EQ(0.1f, gs.DeathCursorY());
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == MAIN_MENU);
    EXPECT_FALSE(gHUD.IsHidden());
    EXPECT_EQ(0, gs.mDeathClawFrame);
    EXPECT_EQ(0, gs.mDeathJawFrame);
    EXPECT_FALSE(gs.mDeathClawDone);
    EXPECT_FLOAT_EQ(0.2f, gs.DeathCursorY());

    // Caught again: the whole sequence replays, then the runner goes back to the start.
    gPlayer.mLevelStartScore = 12;
    gPlayer.mScore = 30;
    gHUD.Hide();
    gs.mScreen = DEATH;
    Frames(gs, 100);
    EXPECT_TRUE(gs.mScreen == DEATH);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == nullptr);
    EXPECT_EQ(12, gPlayer.mScore);
    EXPECT_FALSE(gHUD.IsHidden());
}

TEST_F(FlowTest, LevelCompleteCountsUpThenOpensTheCaveMap)
{
    gs.mScreen = LEVEL_COMPLETE;
    gPlayer.mScore = 3;
    Frames(gs, 1);
    EXPECT_EQ(1, gs.mLevelCountUp);
    Tap(gs, KEY_RETURN); // finishes the count
    EXPECT_EQ(3, gs.mLevelCountUp);
    EXPECT_TRUE(gs.mScreen == LEVEL_COMPLETE);
    Frames(gs, 1);
    EXPECT_FALSE(gs.mBellPending);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == CAVE_MAP);
    EXPECT_EQ("OVERWORLD", gs.mBackdrop.mKey);
    EXPECT_EQ(0, gs.mLevelCountUp);
    EXPECT_TRUE(gs.mBellPending);
    EXPECT_TRUE(gHUD.mGemImage.mTint.mEnabled);
    EXPECT_FLOAT_EQ(0.0f, gHUD.mGemImage.mTint.mA);

    // A score of 0: the bell on the first frame, and the first Enter leaves.
    gPlayer.mScore = 0;
    gs.mScreen = LEVEL_COMPLETE;
    Frames(gs, 1);
    EXPECT_FALSE(gs.mBellPending);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == CAVE_MAP);
}

TEST_F(FlowTest, LevelCompleteWaitsWithoutSpinning)
{
    gs.mScreen = LEVEL_COMPLETE;
    gPlayer.mScore = 1000;
    const int32_t wallStart = ClockMs();
    const std::clock_t cpuStart = std::clock();
    Frames(gs, 4);
    const double cpuMs = 1000.0 * (std::clock() - cpuStart) / CLOCKS_PER_SEC;
    EXPECT_GE(ClockMs() - wallStart, 200);
    EXPECT_LT(cpuMs, 100.0);
}

TEST_F(FlowTest, AfterTheLastLevelComeTheResultsWithoutAFile)
{
    gs.mScreen = CAVE_MAP;
    gs.mLevel = 7;
    gPlayer.mScore = 77;
    testing::internal::CaptureStdout();
    Tap(gs, KEY_RETURN);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(gs.mScreen == RESULTS);
    EXPECT_EQ(0, gs.mLevel);
    EXPECT_EQ("NONE", gs.mBackdrop.mKey);
    EXPECT_FALSE(gs.mQuit);
    EXPECT_EQ(77, gPlayer.mLevelStartScore);
    EXPECT_EQ(std::string::npos, out.find("Level file could not be found or loaded"));
}

TEST_F(FlowTest, ResultsSpeakOncePerVisitAndNeedTwoEnters)
{
    gs.mScreen = RESULTS;
    gPlayer.mScore = 2;
    testing::internal::CaptureStdout();
    Frames(gs, 5);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(1, Count(out, "Playing: "));
    EXPECT_EQ(1, Count(out, VOICE_NOT_WORTH_IT));

    gPlayer.mScore = 500;
    Tap(gs, KEY_RETURN); // only completes the count-up
    EXPECT_TRUE(gs.mScreen == RESULTS);
    EXPECT_EQ(500, gs.mResultsCountUp);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == HIGH_SCORES);
    EXPECT_EQ(0, gs.mResultsCountUp);

    // The next visit hears it again, once.
    gs.mScreen = RESULTS;
    testing::internal::CaptureStdout();
    Frames(gs, 3);
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(1, Count(out, "Playing: "));
}

TEST_F(FlowTest, HighScoreScreenRecordsOnceAndReadsAgainNextVisit)
{
    char dir[] = "/tmp/zq_flow_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    const std::string path = std::string(dir) + "/highscores.txt";
    {
        std::ofstream out(path);
        out << "E";
    }
    gs.mHighScorePath = path;
    gs.mScreen = HIGH_SCORES;
    gPlayer.mScore = 50;
    Frames(gs, 3);
    EXPECT_EQ("50E", Slurp(path));
    EXPECT_EQ((std::vector<uint32_t>{50}), gs.mScores);
    EXPECT_TRUE(gs.mScoresLoaded);

    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.mScreen == MAIN_MENU);
    EXPECT_TRUE(gs.mScores.empty());
    EXPECT_FALSE(gs.mScoresLoaded);

    gs.mScreen = HIGH_SCORES;
    gPlayer.mScore = 90;
    Frames(gs, 1);
    EXPECT_EQ("50 90E", Slurp(path));
    EXPECT_EQ((std::vector<uint32_t>{90, 50}), gs.mScores);
    Tap(gs, KEY_RETURN);

    // A missing table: the message, nothing recorded, and back to the main menu.
    std::remove(path.c_str());
    gs.mScreen = HIGH_SCORES;
    testing::internal::CaptureStderr();
    Frames(gs, 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos,
              err.find("High score table could not be opened. The path is " + path + "\n"));
    EXPECT_TRUE(gs.mScreen == MAIN_MENU);
    EXPECT_FALSE(gs.mScoresLoaded);
    EXPECT_TRUE(gs.mScores.empty());
    EXPECT_NE(0, access(path.c_str(), F_OK));
    rmdir(dir);
}

TEST_F(FlowTest, IntroSkipsLineByLineThenStartsLevelZero)
{
    gs.mScreen = INTRO;
    gs.mLevel = 0;
    Tap(gs, KEY_RETURN);
    EXPECT_FLOAT_EQ(0.75f, gs.mIntroTimer);
    Tap(gs, KEY_RETURN);
    EXPECT_FLOAT_EQ(0.5f, gs.mIntroTimer);
    Tap(gs, KEY_RETURN);
    EXPECT_FLOAT_EQ(0.25f, gs.mIntroTimer);
    Frames(gs, 1); // the last line comes up
    EXPECT_TRUE(gs.mIntroLastLineReached);
    EXPECT_TRUE(gs.mScreen == INTRO);
    testing::internal::CaptureStdout();
    Tap(gs, KEY_RETURN);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(gs.mScreen == nullptr);
    EXPECT_FLOAT_EQ(1.0f, gs.mIntroTimer);
    EXPECT_EQ(0, gs.mLevel);

    // A second visit: Enter starts at once.
    gs.mScreen = INTRO;
    testing::internal::CaptureStdout();
    Tap(gs, KEY_RETURN);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(gs.mScreen == nullptr);
}

TEST_F(FlowTest, CreditsRunIsLevelSevenWithItsOwnMusic)
{
    gs.mScreen = CREDITS;
    testing::internal::CaptureStdout();
    Frames(gs, 1);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(gs.mScreen == nullptr);
    EXPECT_EQ(7, gs.mLevel);
    EXPECT_EQ(MUSIC_CREDITS, gSound.GetMusicName());
    EXPECT_FLOAT_EQ(0.0f, gSound.GetVoiceLevel());
}
