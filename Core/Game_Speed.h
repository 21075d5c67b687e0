// The player's game speed: play moves on in fewer of the drawn frames, so runner, dragon,
// boulders and timers all run slower together while the picture stays at the frame rate
// and the sound at its pitch. Play's own step never changes, so what a level asks of the
// runner stays what it was; it simply comes slower.
#pragma once

#include <cstdint>

class Game_Speed
{
public:
    static constexpr int FULL = 100;
    static constexpr int SLOWEST = 60;
    static constexpr int STEP = 10; // the choices run 100, 90, ... 60

    // A percent outside the choices is taken to the nearest one.
    void SetPercent(int percent);
    int GetPercent() const { return mPercent; }
    bool IsFull() const { return mPercent == FULL; }
    // Once per drawn frame of play: whether play takes its step in this frame. At p%
    // exactly p of every 100 frames step, spread as evenly as whole frames allow.
    bool TakeStep();
    // Stretches a span of play's wall-clock time (the clock item's hold) to the speed.
    int32_t Stretch(int32_t ms) const
    {
        return static_cast<int32_t>(static_cast<int64_t>(ms) * FULL / mPercent);
    }

private:
    int mPercent = FULL;
    int mCredit = 0; // hundredths of a step owed
};

extern Game_Speed gGameSpeed;
