#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "Core/Game_Speed.h"
#include "Core/Game_Timer.h"
#include "Core/Timing_Report.h"

namespace
{

int64_t gNow = 0;
std::vector<uint32_t> gSleeps;

int64_t FakeNow()
{
    return gNow;
}
void FakeSleep(uint32_t ms)
{
    gSleeps.push_back(ms);
}

class TimerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gNow = 1000;
        gSleeps.clear();
        mTimer.SetTimeSource(FakeNow, FakeSleep);
        mTimer.SetFps(60.0f);
    }

    // One frame whose work takes the given milliseconds.
    void Frame(int64_t work)
    {
        mTimer.StartFrame();
        gNow += work;
        mTimer.EndFrame();
        mTimer.WaitForFrame();
    }

    Game_Timer mTimer;
};

TEST_F(TimerTest, RateIsZeroUntilTheFirstFrameEnds)
{
    Game_Timer fresh;
    EXPECT_EQ(fresh.GetFps(), 0.0f);
    fresh.SetTimeSource(FakeNow, FakeSleep);
    fresh.StartFrame();
    EXPECT_EQ(fresh.GetFps(), 0.0f);
    // Nothing to sleep yet either.
    fresh.WaitForFrame();
    EXPECT_TRUE(gSleeps.empty());
}

TEST_F(TimerTest, FrameWithinBudgetSleepsTheTruncatedRest)
{
    Frame(5);
    EXPECT_FLOAT_EQ(mTimer.GetWorkTime(), 5.0f);
    EXPECT_NEAR(mTimer.GetSleepTime(), 11.6667f, 1e-3);
    ASSERT_EQ(gSleeps.size(), 1u);
    EXPECT_EQ(gSleeps[0], 11u); // 11.67 ms truncated, never rounded up
    EXPECT_FLOAT_EQ(mTimer.GetFps(), 60.0f);

    Frame(0);
    ASSERT_EQ(gSleeps.size(), 2u);
    EXPECT_EQ(gSleeps[1], 16u);
    EXPECT_FLOAT_EQ(mTimer.GetFps(), 60.0f);
}

TEST_F(TimerTest, FrameOverBudgetDoesNotSleepAndReportsItsRate)
{
    Frame(17);
    EXPECT_EQ(mTimer.GetSleepTime(), 0.0f);
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_FLOAT_EQ(mTimer.GetFps(), 1000.0f / 17.0f);

    Frame(40);
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_FLOAT_EQ(mTimer.GetFps(), 25.0f);
}

TEST_F(TimerTest, SlowMotionRateAppliesFromTheNextFrame)
{
    mTimer.StartFrame();
    gNow += 10;
    mTimer.SetFps(20.0f);
    mTimer.EndFrame();
    EXPECT_FLOAT_EQ(mTimer.GetTargetFrameTime(), 50.0f);
    EXPECT_FLOAT_EQ(mTimer.GetSleepTime(), 40.0f);
    EXPECT_FLOAT_EQ(mTimer.GetFps(), 20.0f);
    mTimer.WaitForFrame();
    ASSERT_EQ(gSleeps.size(), 1u);
    EXPECT_EQ(gSleeps[0], 40u);

    mTimer.SetFps(60.0f);
    Frame(1);
    EXPECT_EQ(gSleeps.back(), 15u);
    EXPECT_FLOAT_EQ(mTimer.GetFps(), 60.0f);
}

TEST_F(TimerTest, NonPositiveRateKeepsTheRateInForce)
{
    mTimer.SetFps(0.0f);
    mTimer.SetFps(-30.0f);
    EXPECT_NEAR(mTimer.GetTargetFrameTime(), 16.6667f, 1e-3);
    Frame(5);
    EXPECT_EQ(gSleeps.back(), 11u);
}

TEST(TimerRealClock, IdleFrameSleepsTheBudgetAway)
{
    // The real clock and sleep: an empty frame at 60 per second lasts about 16 ms.
    Game_Timer timer;
    timer.SetFps(60.0f);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i)
    {
        timer.StartFrame();
        timer.EndFrame();
        timer.WaitForFrame();
    }
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    EXPECT_GE(ms, 140);
    EXPECT_LT(ms, 1000); // generous: a loaded machine oversleeps
    EXPECT_FLOAT_EQ(timer.GetFps(), 60.0f);
}

} // namespace

// A slower game steps play in exactly its share of the drawn frames, spread so that no
// two frames in a row stand still (a stutter the eye would catch), and a speed from an
// edited settings file lands on one the options screen offers.
TEST(GameSpeed, StepsItsShareOfFramesEvenly)
{
    Game_Speed speed;
    for (int percent = Game_Speed::FULL; percent >= Game_Speed::SLOWEST; percent -= Game_Speed::STEP)
    {
        speed.SetPercent(percent);
        int steps = 0, heldInARow = 0, mostHeld = 0;
        for (int frame = 0; frame < 600; ++frame)
        {
            if (speed.TakeStep())
            {
                ++steps;
                heldInARow = 0;
            }
            else
            {
                mostHeld = std::max(mostHeld, ++heldInARow);
            }
        }
        EXPECT_EQ(steps, 6 * percent) << percent;
        EXPECT_LE(mostHeld, 1) << percent;
    }
    speed.SetPercent(64);
    EXPECT_EQ(speed.GetPercent(), 60);
    speed.SetPercent(65);
    EXPECT_EQ(speed.GetPercent(), 70);
    speed.SetPercent(20);
    EXPECT_EQ(speed.GetPercent(), 60);
    speed.SetPercent(250);
    EXPECT_EQ(speed.GetPercent(), 100);
    EXPECT_TRUE(speed.IsFull());
}

// The timing report is a developer switch: off, a frame of play prints nothing (and
// never stalls on a slow frame); on, each stage says its name.
TEST(TimingReport, SilentWhileOffAndNamesEachStageWhileOn)
{
    gTimingReport = false;
    testing::internal::CaptureStdout();
    TimingReportStart();
    TimingReportLine("Player updated");
    TimingReportEnd();
    EXPECT_EQ("", testing::internal::GetCapturedStdout());

    gTimingReport = true;
    testing::internal::CaptureStdout();
    TimingReportStart();
    TimingReportLine("Player updated");
    const std::string out = testing::internal::GetCapturedStdout();
    gTimingReport = false;
    EXPECT_NE(std::string::npos, out.find("Timer starting: ")) << out;
    EXPECT_NE(std::string::npos, out.find("Player updated: ")) << out;
}
