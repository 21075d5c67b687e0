#include <gtest/gtest.h>

#include <SDL.h>

#include <csignal>
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
#include "Core/Game_Speed.h"
#include "Core/Globals.h"
#include "Entities/Player.h"
#include "Game/Game_State.h"
#include "Game/Settings.h"
#include "Game/HUD.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "Level/Level_Loader.h"
#include "World/Camera.h"
#include "World/Entity_Handler.h"
#include "World/Environment_Handler.h"
#include "World/Floating_Text.h"
#include "tools/runners/Key_Pusher.h"

// What the screens keep from frame to frame, read here rather than off the picture.
struct Game_State_Probe
{
    static bool SkipsRender(const Game_State& gs) { return gs.mSkipRender; }
    static const auto& MainMenu(const Game_State& gs) { return gs.mMainMenu.mLook; }
    static const auto& Intro(const Game_State& gs) { return gs.mIntro; }
    static const auto& Death(const Game_State& gs) { return gs.mDeath; }
    static const auto& LevelComplete(const Game_State& gs) { return gs.mLevelComplete; }
    static const auto& Results(const Game_State& gs) { return gs.mResults; }
    static const auto& HighScores(const Game_State& gs) { return gs.mHighScores; }
    static const auto& Options(const Game_State& gs) { return gs.mOptions; }
};

namespace
{
typedef Game_State::Screen Screen;
typedef Game_State_Probe Probe;

const Screen LOGO = Game_State::TEAM_LOGO;
const Screen MAIN_MENU = Game_State::MAIN_MENU;
const Screen INTRO = Game_State::INTRO;
const Screen CREDITS = Game_State::CREDITS;
const Screen PAUSE = Game_State::PAUSE;
const Screen DEATH = Game_State::DEATH;
const Screen LEVEL_COMPLETE = Game_State::LEVEL_COMPLETE;
const Screen CAVE_MAP = Game_State::CAVE_MAP;
const Screen RESULTS = Game_State::RESULTS;
const Screen HIGH_SCORES = Game_State::HIGH_SCORES;
const Screen OPTIONS = Game_State::OPTIONS;
const Screen PLAY = Game_State::PLAY;
const char* const KEEP = Game_State::KEEP_BACKDROP;

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
    ASSERT_TRUE(gs.GetScreen() != PLAY);
    gs.RunScreen();
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
    for (int i = 0; i < count && gs.GetScreen(); ++i)
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
    ASSERT_TRUE(gs.GetScreen() == LOGO);
    EXPECT_EQ("TEAM_LOGO", gs.GetBackdrop());
    int frames = 0;
    while (gs.GetScreen() == LOGO && frames < 1000)
    {
        gs.RunScreenFrame(mTimer);
        ++frames;
    }
    // About 67 frames standing and 100 fading.
    EXPECT_GE(frames, 160);
    EXPECT_LE(frames, 175);
    EXPECT_TRUE(gs.GetScreen() == MAIN_MENU);
    EXPECT_EQ("NONE", gs.GetBackdrop());

    Game_State skipped;
    skipped.Init();
    Tap(skipped, KEY_RETURN);
    EXPECT_TRUE(skipped.GetScreen() == MAIN_MENU);
}

TEST_F(FlowTest, MainMenuMovesItsItemsAndLeadsToStoryOrCredits)
{
    gs.GoTo(MAIN_MENU, KEEP);
    gPlayer.mScore = 70;
    gPlayer.mLevelStartScore = 30;
    gs.SetLevel(5);
    Frames(gs, 1);
    EXPECT_EQ(0, gs.GetLevel());
    EXPECT_EQ(0, gPlayer.mScore);
    EXPECT_EQ(0, gPlayer.mLevelStartScore);
    EXPECT_FLOAT_EQ(0.5f, Probe::MainMenu(gs).mStartDepth);
    EXPECT_FLOAT_EQ(-2.0f, Probe::MainMenu(gs).mOptionsDepth);

    Tap(gs, KEY_RIGHT);
    EXPECT_FALSE(Probe::MainMenu(gs).mStartSelected);
    Frames(gs, 1);
    EXPECT_FLOAT_EQ(-1.5f, Probe::MainMenu(gs).mOptionsDepth);
    EXPECT_FLOAT_EQ(0.0f, Probe::MainMenu(gs).mStartDepth);
    Frames(gs, 10);
    EXPECT_FLOAT_EQ(0.5f, Probe::MainMenu(gs).mOptionsDepth);
    EXPECT_FLOAT_EQ(-2.0f, Probe::MainMenu(gs).mStartDepth);

    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == CREDITS);
    EXPECT_EQ("CREDITS", gs.GetBackdrop());

    gs.GoTo(MAIN_MENU, KEEP);
    Tap(gs, KEY_LEFT);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == INTRO);
    EXPECT_FALSE(gs.IsQuitting());
}

// An idle main menu leaves its picture standing, but anything that changes it, or a
// window that lost it, must be drawn again at once.
TEST_F(FlowTest, MainMenuDrawsAgainWhenItsPictureChangesOrIsLost)
{
    gs.GoTo(MAIN_MENU, KEEP);
    gs.SetBackdrop("NONE");
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(Probe::SkipsRender(gs));
    gs.RunScreenFrame(mTimer);
    EXPECT_TRUE(Probe::SkipsRender(gs));

    Tap(gs, KEY_RIGHT);
    int drawn = 0;
    for (int i = 0; i < 10; ++i)
    {
        gs.RunScreenFrame(mTimer);
        drawn += Probe::SkipsRender(gs) ? 0 : 1;
    }
    EXPECT_EQ(5, drawn) << "the items move for five frames, each of them drawn";
    EXPECT_TRUE(Probe::SkipsRender(gs));

    SDL_Event expose;
    std::memset(&expose, 0, sizeof expose);
    expose.type = SDL_VIDEOEXPOSE;
    SDL_PushEvent(&expose);
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(Probe::SkipsRender(gs)) << "an uncovered window is drawn again";

    gFloatingTexts.Add("+10", 3.0f, 0.0f, 0.0f, 0.0f, Tint(), 0.0f, 0.5f, 0.0f, Tint());
    drawn = 0;
    for (int i = 0; i < 6; ++i)
    {
        gs.RunScreenFrame(mTimer);
        drawn += Probe::SkipsRender(gs) ? 0 : 1;
    }
    EXPECT_GE(drawn, 3) << "a drifting text is drawn on every frame it lives";
    EXPECT_EQ(0u, gFloatingTexts.Count());
    EXPECT_TRUE(Probe::SkipsRender(gs));

    // Another screen draws over the window, so coming back draws the menu at once.
    gs.GoTo(INTRO, KEEP);
    gs.RunScreenFrame(mTimer);
    gs.GoTo(MAIN_MENU, KEEP);
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(Probe::SkipsRender(gs));
}

TEST_F(FlowTest, ClosingTheWindowQuitsOnlyFromTheMainMenu)
{
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;

    gs.Init();
    SDL_PushEvent(&quit);
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(gs.IsQuitting());
    EXPECT_TRUE(gs.GetScreen() == LOGO);

    gs.GoTo(INTRO, KEEP);
    SDL_PushEvent(&quit);
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(gs.IsQuitting());
    EXPECT_TRUE(gs.GetScreen() == INTRO);

    // Paused by a close during play, a second close resumes.
    gs.EnterPause();
    SDL_PushEvent(&quit);
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(gs.IsQuitting());
    EXPECT_TRUE(gs.GetScreen() == PLAY);

    gs.GoTo(MAIN_MENU, KEEP);
    SDL_PushEvent(&quit);
    gs.RunScreenFrame(mTimer);
    EXPECT_TRUE(gs.IsQuitting());
    EXPECT_TRUE(gs.GetScreen() == PLAY);
}

// Ctrl+C or kill on a menu: input reports a quit request from then on, and the menu
// loop ends with the game quitting. In a child process, as the signal stays raised.
TEST_F(FlowTest, AQuitSignalEndsTheMenuLoop)
{
    EXPECT_EXIT(
        {
            Input_Handler::InstallQuitSignals();
            std::raise(SIGTERM);
            const bool heard = Input_Handler::QuitSignalled() && !gInput.Update() && !gInput.PollEvent();
            gs.EnterPause();
            // The menu loop's frames, but not forever when it never hears of it.
            for (int frame = 0; frame < 100 && gs.GetScreen(); ++frame)
                gs.RunScreenFrame(mTimer);
            std::exit(heard && gs.IsQuitting() && gs.GetScreen() == PLAY ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

// The trace a script that drives the game reads: a line at each change of screen and
// each level start. In a program started afresh, as the game opens its trace once.
TEST_F(FlowTest, TheTraceNamesEachScreenChangeAndLevelStart)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* given = getenv("ZQ_TRACE"); // the child finds the parent's
    const std::string path = given ? given : testing::TempDir() + "zq_trace_" + std::to_string(getpid());
    setenv("ZQ_TRACE", path.c_str(), 1);
    EXPECT_EXIT(
        {
            testing::internal::CaptureStdout();
            gs.Init();
            gs.GoTo(MAIN_MENU, KEEP);
            gs.GoTo(MAIN_MENU, KEEP);
            gs.GoTo(OPTIONS, KEEP);
            gs.SetLevel(2);
            gs.StartLevel(false);
            gs.EnterPause();
            gs.StartLevel(true);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ("screen TeamLogoScreen\nscreen MainMenuScreen\nscreen OptionsScreen\nlevel 2\nscreen "
              "play\nscreen PauseScreen\n"
              "level 2 restart\nscreen play\n",
              Slurp(path));
    std::remove(path.c_str());
    unsetenv("ZQ_TRACE");
    GTEST_FLAG_SET(death_test_style, "fast");
}

TEST_F(FlowTest, ProcessMenusReturnsWhenPlayResumes)
{
    gs.EnterPause();
    PushEvent(SDL_KEYDOWN, KEY_P);
    const size_t depth = gGraphics.GetColourDepth();
    gs.ProcessMenus(mTimer);
    EXPECT_TRUE(gs.GetScreen() == PLAY);
    EXPECT_EQ(depth, gGraphics.GetColourDepth());
    Release(KEY_P);

    // During play it only looks for the end of the level, a catch or a pause.
    gs.ProcessMenus(mTimer);
    EXPECT_TRUE(gs.GetScreen() == PLAY);
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
    EXPECT_TRUE(gs.GetScreen() == PAUSE);

    gHUD.Hide();
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == MAIN_MENU);
    EXPECT_FALSE(gHUD.IsHidden());
    EXPECT_FLOAT_EQ(0.2f, gs.PauseCursorY()); // back on the first item for next time

    // "Continue" and p both go back to play, with the level music again.
    gs.EnterPause();
    Frames(gs, 1);
    EXPECT_EQ("", gSound.GetMusicName());
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == PLAY);
    EXPECT_EQ(MUSIC_LEVEL, gSound.GetMusicName());
    gs.EnterPause();
    Tap(gs, KEY_P);
    EXPECT_TRUE(gs.GetScreen() == PLAY);
}

// Left turns the sound down a tenth, Right up a tenth, each within 0 to 1, and the
// menu stays open and its cursor where it was.
TEST_F(FlowTest, PauseMenuLeftAndRightSetTheVolume)
{
    // Music and effects move together, each from its own level.
    gSound.SetVolume(0.5f, 0.2f);
    gs.EnterPause();
    Tap(gs, KEY_LEFT);
    EXPECT_NEAR(0.4f, gSound.GetVolume(), 1e-5f);
    EXPECT_NEAR(0.1f, gSound.GetMusicLevel(), 1e-5f);
    Tap(gs, KEY_LEFT);
    EXPECT_NEAR(0.3f, gSound.GetVolume(), 1e-5f);
    Tap(gs, KEY_RIGHT);
    EXPECT_NEAR(0.4f, gSound.GetVolume(), 1e-5f);
    EXPECT_TRUE(gs.GetScreen() == PAUSE);
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
    EXPECT_TRUE(gs.GetScreen() == PLAY);
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
    EXPECT_TRUE(gs.GetScreen() == PLAY);
    EXPECT_EQ(40, gPlayer.mScore);
    EXPECT_EQ(40, gPlayer.mLevelStartScore);
    EXPECT_EQ(first, gEntities.GetEntities()[0].get());
    EXPECT_EQ(std::string::npos, out.find("Level file could not be found or loaded"));
    EXPECT_FALSE(gs.IsQuitting());
}

TEST_F(FlowTest, APauseInTheFrameOfACatchWins)
{
    gPlayer.mZ = 500.0f;
    gEnvironment.gDragonDistance = 600.0f;
    ASSERT_FALSE(gEntities.IsLevelPassed());

    Press(KEY_P);
    gs.CheckPlayTransitions();
    EXPECT_TRUE(gs.GetScreen() == PAUSE);
    Release(KEY_P);
    Tap(gs, KEY_P);
    ASSERT_TRUE(gs.GetScreen() == PLAY);

    // The catch is found on the first frame of play after the pause.
    gs.CheckPlayTransitions();
    EXPECT_TRUE(gs.GetScreen() == DEATH);
    EXPECT_TRUE(gHUD.IsHidden());
}

TEST_F(FlowTest, TheEndOfALevelOpensTheLevelCompleteScreen)
{
    gs.CheckPlayTransitions();
    EXPECT_TRUE(gs.GetScreen() == PLAY);
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
    EXPECT_TRUE(gs.GetScreen() == LEVEL_COMPLETE);
}

TEST_F(FlowTest, DeathScreenPlaysOutBeforeItsMenu)
{
    gHUD.Hide();
    gs.GoTo(DEATH, KEEP);
    // Enter during the claw and the jaws does nothing.
    for (int frame = 0; frame < 99; ++frame)
    {
        if (frame == 10 || frame == 75)
            Tap(gs, KEY_RETURN);
        else
            Frames(gs, 1);
        ASSERT_TRUE(gs.GetScreen() == DEATH) << "left on frame " << frame;
    }
    EXPECT_TRUE(Probe::Death(gs).mClawDone);
    EXPECT_EQ(50, Probe::Death(gs).mJawFrame);
    // The runner's spin was for the picture only.
    EXPECT_FLOAT_EQ(0.0f, gPlayer.mAnimation.mRotation.mAngle);

    // The burp comes 70 frames after the jaws shut, and the counter stops there.
    Frames(gs, 100);
    EXPECT_EQ(121, Probe::Death(gs).mJawFrame);

    EXPECT_FLOAT_EQ(0.2f, gs.DeathCursorY());
    Tap(gs, KEY_DOWN);
    EXPECT_FLOAT_EQ(0.1f, gs.DeathCursorY());
    Tap(gs, KEY_DOWN);
    EXPECT_FLOAT_EQ(0.2f, gs.DeathCursorY());
    Tap(gs, KEY_UP);
    EXPECT_FLOAT_EQ(0.1f, gs.DeathCursorY());
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == MAIN_MENU);
    EXPECT_FALSE(gHUD.IsHidden());
    EXPECT_EQ(0, Probe::Death(gs).mClawFrame);
    EXPECT_EQ(0, Probe::Death(gs).mJawFrame);
    EXPECT_FALSE(Probe::Death(gs).mClawDone);
    EXPECT_FLOAT_EQ(0.2f, gs.DeathCursorY());

    // Caught again: the whole sequence replays, then the runner goes back to the start.
    gPlayer.mLevelStartScore = 12;
    gPlayer.mScore = 30;
    gHUD.Hide();
    gs.GoTo(DEATH, KEEP);
    Frames(gs, 100);
    EXPECT_TRUE(gs.GetScreen() == DEATH);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == PLAY);
    EXPECT_EQ(12, gPlayer.mScore);
    EXPECT_FALSE(gHUD.IsHidden());
}

TEST_F(FlowTest, LevelCompleteCountsUpThenOpensTheCaveMap)
{
    gs.GoTo(LEVEL_COMPLETE, KEEP);
    gPlayer.mScore = 3;
    Frames(gs, 1);
    EXPECT_EQ(1, Probe::LevelComplete(gs).mCountUp);
    Tap(gs, KEY_RETURN); // finishes the count
    EXPECT_EQ(3, Probe::LevelComplete(gs).mCountUp);
    EXPECT_TRUE(gs.GetScreen() == LEVEL_COMPLETE);
    Frames(gs, 1);
    EXPECT_FALSE(Probe::LevelComplete(gs).mBellPending);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == CAVE_MAP);
    EXPECT_EQ("OVERWORLD", gs.GetBackdrop());
    EXPECT_EQ(0, Probe::LevelComplete(gs).mCountUp);
    EXPECT_TRUE(Probe::LevelComplete(gs).mBellPending);
    EXPECT_TRUE(gHUD.GemTint().mEnabled);
    EXPECT_FLOAT_EQ(0.0f, gHUD.GemTint().mA);

    // A score of 0: the bell on the first frame, and the first Enter leaves.
    gPlayer.mScore = 0;
    gs.GoTo(LEVEL_COMPLETE, KEEP);
    Frames(gs, 1);
    EXPECT_FALSE(Probe::LevelComplete(gs).mBellPending);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == CAVE_MAP);
}

TEST_F(FlowTest, LevelCompleteWaitsWithoutSpinning)
{
    gs.GoTo(LEVEL_COMPLETE, KEEP);
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
    gs.GoTo(CAVE_MAP, KEEP);
    gs.SetLevel(7);
    gPlayer.mScore = 77;
    // Nothing on the map moves: after its first frame the picture is left standing,
    // and Enter still leads on from there.
    gs.RunScreenFrame(mTimer);
    EXPECT_FALSE(Probe::SkipsRender(gs));
    gs.RunScreenFrame(mTimer);
    EXPECT_TRUE(Probe::SkipsRender(gs));
    testing::internal::CaptureStdout();
    PushEvent(SDL_KEYDOWN, KEY_RETURN);
    gs.RunScreenFrame(mTimer);
    Release(KEY_RETURN);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(gs.GetScreen() == RESULTS);
    EXPECT_EQ(0, gs.GetLevel());
    EXPECT_EQ("NONE", gs.GetBackdrop());
    EXPECT_FALSE(gs.IsQuitting());
    EXPECT_EQ(77, gPlayer.mLevelStartScore);
    EXPECT_EQ(std::string::npos, out.find("Level file could not be found or loaded"));
}

TEST_F(FlowTest, ResultsSpeakOncePerVisitAndNeedTwoEnters)
{
    gs.GoTo(RESULTS, KEEP);
    gPlayer.mScore = 2;
    testing::internal::CaptureStdout();
    Frames(gs, 5);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(1, Count(out, "Playing: "));
    EXPECT_EQ(1, Count(out, VOICE_NOT_WORTH_IT));

    gPlayer.mScore = 500;
    Tap(gs, KEY_RETURN); // only completes the count-up
    EXPECT_TRUE(gs.GetScreen() == RESULTS);
    EXPECT_EQ(500, Probe::Results(gs).mCountUp);
    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == HIGH_SCORES);
    EXPECT_EQ(0, Probe::Results(gs).mCountUp);

    // The next visit hears it again, once.
    gs.GoTo(RESULTS, KEEP);
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
    gs.SetHighScorePath(path);
    gs.GoTo(HIGH_SCORES, KEEP);
    gPlayer.mScore = 50;
    Frames(gs, 3);
    EXPECT_EQ("50E", Slurp(path));
    EXPECT_EQ((std::vector<uint32_t>{50}), Probe::HighScores(gs).mScores);
    EXPECT_TRUE(Probe::HighScores(gs).mLoaded);

    Tap(gs, KEY_RETURN);
    EXPECT_TRUE(gs.GetScreen() == MAIN_MENU);
    EXPECT_TRUE(Probe::HighScores(gs).mScores.empty());
    EXPECT_FALSE(Probe::HighScores(gs).mLoaded);

    gs.GoTo(HIGH_SCORES, KEEP);
    gPlayer.mScore = 90;
    Frames(gs, 1);
    EXPECT_EQ("50 90E", Slurp(path));
    EXPECT_EQ((std::vector<uint32_t>{90, 50}), Probe::HighScores(gs).mScores);
    Tap(gs, KEY_RETURN);

    // A missing table: the message, nothing recorded, and back to the main menu.
    std::remove(path.c_str());
    gs.GoTo(HIGH_SCORES, KEEP);
    testing::internal::CaptureStderr();
    Frames(gs, 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos,
              err.find("High score table could not be opened. The path is " + path + "\n"));
    EXPECT_TRUE(gs.GetScreen() == MAIN_MENU);
    EXPECT_FALSE(Probe::HighScores(gs).mLoaded);
    EXPECT_TRUE(Probe::HighScores(gs).mScores.empty());
    EXPECT_NE(0, access(path.c_str(), F_OK));
    rmdir(dir);
}

TEST_F(FlowTest, IntroSkipsLineByLineThenStartsLevelZero)
{
    gs.GoTo(INTRO, KEEP);
    gs.SetLevel(0);
    Tap(gs, KEY_RETURN);
    EXPECT_FLOAT_EQ(0.75f, Probe::Intro(gs).mTimer);
    Tap(gs, KEY_RETURN);
    EXPECT_FLOAT_EQ(0.5f, Probe::Intro(gs).mTimer);
    Tap(gs, KEY_RETURN);
    EXPECT_FLOAT_EQ(0.25f, Probe::Intro(gs).mTimer);
    Frames(gs, 1); // the last line comes up
    EXPECT_TRUE(Probe::Intro(gs).mLastLineReached);
    EXPECT_TRUE(gs.GetScreen() == INTRO);
    testing::internal::CaptureStdout();
    Tap(gs, KEY_RETURN);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(gs.GetScreen() == PLAY);
    EXPECT_FLOAT_EQ(1.0f, Probe::Intro(gs).mTimer);
    EXPECT_EQ(0, gs.GetLevel());

    // A second visit: Enter starts at once.
    gs.GoTo(INTRO, KEEP);
    testing::internal::CaptureStdout();
    Tap(gs, KEY_RETURN);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(gs.GetScreen() == PLAY);
}

TEST_F(FlowTest, CreditsRunIsLevelSevenWithItsOwnMusic)
{
    gs.GoTo(CREDITS, KEEP);
    testing::internal::CaptureStdout();
    Frames(gs, 1);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(gs.GetScreen() == PLAY);
    EXPECT_EQ(7, gs.GetLevel());
    EXPECT_EQ(MUSIC_CREDITS, gSound.GetMusicName());
    EXPECT_FLOAT_EQ(0.0f, gSound.GetVoiceLevel());
}

// One frame of the whole screen loop (where Escape is seen) with the key pressed.
void TapInLoop(Game_State& gs, Game_Timer& timer, int key)
{
    ASSERT_TRUE(test_keys::PushKey(key, true));
    gs.RunScreenFrame(timer);
    ASSERT_TRUE(test_keys::PushKey(key, false));
    gs.RunScreenFrame(timer);
}

// The options line under the cursor, counted from the top.
void MoveTo(Game_State& gs, int line)
{
    for (int taps = 0; taps < 12 && gs.GetScreen() == OPTIONS && Probe::Options(gs).mCursor != line; ++taps)
        Tap(gs, KEY_DOWN);
    ASSERT_EQ(line, Probe::Options(gs).mCursor);
}

TEST_F(FlowTest, OptionsChangeEveryLineAndTheChosenKeysArePlayed)
{
    const Settings before = CurrentSettings();
    gs.GoTo(MAIN_MENU, KEEP);
    Tap(gs, KEY_DOWN);
    EXPECT_TRUE(Probe::MainMenu(gs).mSettingsSelected);
    Tap(gs, KEY_RETURN);
    ASSERT_TRUE(gs.GetScreen() == OPTIONS);

    gSound.SetVolume(1.0f);
    Tap(gs, KEY_LEFT); // music
    MoveTo(gs, 1);
    Tap(gs, KEY_LEFT); // effects
    Tap(gs, KEY_LEFT);
    MoveTo(gs, 3);
    Tap(gs, KEY_RETURN); // steering
    MoveTo(gs, 9);
    Tap(gs, KEY_RIGHT); // flashing
    MoveTo(gs, 10);
    for (int i = 0; i < 6; ++i)
        Tap(gs, KEY_LEFT); // speed, past its slowest
    EXPECT_NEAR(0.9f, gSound.GetMusicLevel(), 1e-5f);
    EXPECT_NEAR(0.8f, gSound.GetVolume(), 1e-5f);
    EXPECT_TRUE(gMouseControl);
    EXPECT_FALSE(gKeyboardControl);
    EXPECT_TRUE(gReduceFlashing);
    EXPECT_EQ(60, gGameSpeed.GetPercent());
    ChooseSteering(false);

    // A key line waits for the next key; one in use, or one the game keeps, is refused
    // with a line on screen and changes nothing.
    MoveTo(gs, 6);
    Tap(gs, KEY_RETURN);
    EXPECT_EQ(6, Probe::Options(gs).mWaitingLine);
    Tap(gs, KEY_LEFT);
    EXPECT_NE(std::string::npos, Probe::Options(gs).mMessage.find("LEFT is already the key for left"));
    Tap(gs, KEY_D);
    EXPECT_NE(std::string::npos, Probe::Options(gs).mMessage.find("cannot be taken"));
    Tap(gs, KEY_RETURN);
    EXPECT_EQ(KEY_SPACE, gKeys.mJump);
    const int KEY_J = 'j';
    Tap(gs, KEY_J);
    EXPECT_EQ(KEY_J, gKeys.mJump);
    EXPECT_EQ(-1, Probe::Options(gs).mWaitingLine);
    // Escape while waiting keeps the key and the screen.
    MoveTo(gs, 7);
    Tap(gs, KEY_RETURN);
    TapInLoop(gs, mTimer, KEY_ESCAPE);
    EXPECT_EQ(KEY_P, gKeys.mPause);
    EXPECT_TRUE(gs.GetScreen() == OPTIONS);
    const int KEY_Q = 'q';
    Tap(gs, KEY_RETURN);
    // An arrow would resume play from the pause menu instead of moving its cursor.
    Tap(gs, KEY_DOWN);
    EXPECT_NE(std::string::npos, Probe::Options(gs).mMessage.find("cannot pause"));
    EXPECT_EQ(KEY_P, gKeys.mPause);
    Tap(gs, KEY_Q);

    // In play the new jump key jumps and the old one no longer does; the new pause
    // key pauses.
    gCamera.Init(0.0f, 1000.0f, 0.0f, 1.0f, 500.0f);
    gPlayer.Init();
    gCamera.SetPosition(gPlayer.mZ);
    Press(KEY_SPACE);
    gPlayer.Update(gInput);
    EXPECT_EQ(0, gPlayer.mJumpState);
    Release(KEY_SPACE);
    Press(KEY_J);
    gPlayer.Update(gInput);
    EXPECT_EQ(1, gPlayer.mJumpState);
    Release(KEY_J);
    Game_State playing;
    playing.GoTo(PLAY, KEEP);
    Press(KEY_P);
    playing.CheckPlayTransitions();
    EXPECT_TRUE(playing.GetScreen() == PLAY);
    Release(KEY_P);
    Press(KEY_Q);
    playing.CheckPlayTransitions();
    EXPECT_TRUE(playing.GetScreen() == PAUSE);
    Release(KEY_Q);

    MoveTo(gs, 8);
    Tap(gs, KEY_RETURN);
    EXPECT_EQ(Key_Bindings(), gKeys);
    TapInLoop(gs, mTimer, KEY_ESCAPE);
    EXPECT_TRUE(gs.GetScreen() == MAIN_MENU);
    EXPECT_FALSE(gs.IsQuitting());
    ApplySettings(before);
}
