#include "Core/Game_Timer.h"

#include <chrono>

#include <SDL/SDL.h>

Game_Timer gTimer;

namespace
{

int64_t SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SdlSleep(uint32_t ms)
{
    SDL_Delay(ms);
}

} // namespace

Game_Timer::Game_Timer() : mSource(SteadyMs), mSleep(SdlSleep) {}

void Game_Timer::SetFps(float rate)
{
    // A rate of zero or less would make the frame budget endless (or negative) and
    // the sleep a conversion of infinity; keep the rate in force instead.
    if (!(rate > 0.0f))
        return;
    mTargetFrameTime = 1000.0f / rate;
}

void Game_Timer::StartFrame()
{
    mFrameStart = NowMs();
}

void Game_Timer::EndFrame()
{
    mFrameEnd = NowMs();
    mWorkTime = static_cast<float>(mFrameEnd - mFrameStart);
    mSleepTime = mTargetFrameTime - mWorkTime;
    if (mSleepTime < 0.0f)
        mSleepTime = 0.0f;
    mFramesPerSecond = 1000.0f / (mWorkTime + mSleepTime);
}

void Game_Timer::WaitForFrame()
{
    if (mSleepTime > 0.0f)
        mSleep(static_cast<uint32_t>(mSleepTime));
}

void Game_Timer::SetTimeSource(Ms_Source source, Sleep_Function sleep)
{
    mSource = source ? source : SteadyMs;
    mSleep = sleep ? sleep : SdlSleep;
}

int64_t Game_Timer::NowMs() const
{
    return mSource();
}
