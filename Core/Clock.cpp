#include "Core/Clock.h"

#include <chrono>
#include <thread>

namespace
{

const std::chrono::steady_clock::time_point gProgramStart = std::chrono::steady_clock::now();
Clock_Source gSource = nullptr;

} // namespace

int32_t ClockMs()
{
    if (gSource)
        return gSource();
    const auto elapsed = std::chrono::steady_clock::now() - gProgramStart;
    return static_cast<int32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void SetClockSource(Clock_Source source)
{
    gSource = source;
}

void SleepMs(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
