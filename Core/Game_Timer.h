// Paces every frame loop to a target rate: measures a frame's work in whole
// milliseconds on a monotonic clock, then sleeps the rest of the budget in one call.
#pragma once

#include <cstdint>

class Game_Timer
{
public:
    Game_Timer();

    void SetFps(float rate); // takes effect at the next EndFrame
    void StartFrame();
    void EndFrame();
    void WaitForFrame(); // sleeps the truncated sleep time, if any
    float GetFps() const { return mFramesPerSecond; }
    float GetTargetFrameTime() const { return mTargetFrameTime; }
    float GetSleepTime() const { return mSleepTime; }
    float GetWorkTime() const { return mWorkTime; }

    // Tests drive the timer with their own millisecond clock and sleep.
    typedef int64_t (*Ms_Source)();
    typedef void (*Sleep_Function)(uint32_t ms);
    void SetTimeSource(Ms_Source source, Sleep_Function sleep);

private:
    int64_t NowMs() const;

    float mTargetFrameTime = 16.0f;
    float mSleepTime = 0.0f;
    float mFramesPerSecond = 0.0f;
    float mWorkTime = 0.0f;
    int64_t mFrameStart = 0;
    int64_t mFrameEnd = 0;
    Ms_Source mSource;
    Sleep_Function mSleep;
};

extern Game_Timer gTimer;
