// The game's one reader of the wall clock for millisecond timings (hints, the clock
// item, the loading screen, timed screens). CPU-time clocks would freeze those effects.
#pragma once

#include <cstdint>

// Wall-clock milliseconds since the program started (or the test source, if set).
int32_t ClockMs();

// Tests replace the time source with their own function; nullptr restores the wall clock.
typedef int32_t (*Clock_Source)();
void SetClockSource(Clock_Source source);

// Gives up the processor for the given milliseconds (waits that must not spin a core).
void SleepMs(uint32_t ms);
