#include "Core/Timing_Report.h"

#include <cstdint>
#include <iostream>

#include <SDL/SDL.h>

#include "Core/Clock.h"

bool gTimingReport = false;

namespace
{

const int32_t SPIKE_MS = 32;

int32_t gFrameStart = 0; // clock at the top of the frame
int32_t gMark = 0;       // ms into the frame of the last line

} // namespace

void TimingReportStart()
{
    if (!gTimingReport)
        return;
    gFrameStart = ClockMs();
    gMark = ClockMs();
    std::cout << "Timer starting: " << ClockMs() - gFrameStart << std::endl;
    gMark = ClockMs() - gFrameStart;
}

void TimingReportLine(const char* label)
{
    if (!gTimingReport)
        return;
    std::cout << label << ": " << ClockMs() - gFrameStart - gMark << " milliseconds " << std::endl;
    gMark = ClockMs() - gFrameStart;
}

void TimingReportEnd()
{
    if (!gTimingReport)
        return;
    gMark = ClockMs() - gFrameStart;
    std::cout << std::endl
              << "End of loop: " << ClockMs() - gFrameStart << " milliseconds " << std::endl
              << std::endl;
    if (gMark > SPIKE_MS)
    {
        std::cout << "Performance spike!!  (2 second delay to grab your attention)." << std::endl;
        SDL_Delay(2000);
    }
}
