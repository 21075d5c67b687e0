// Turns the SDL event queue into per-key state the game polls: held, and pressed this
// frame. One event is taken per update. Escape and the window's close event are
// reported to the caller as quit requests instead of being acted on.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

struct Key_State
{
    bool mDown;
    int32_t mTime;   // clock (ms) of the last change
    uint32_t mFrame; // frame counter at the last change
};

struct Mouse_State
{
    bool mInitialised = false;
    int mX = 0, mPreviousX = 0, mY = 0, mPreviousY = 0;
    float mFraction = 0.0f; // x over the range width
    bool mLeftDown = false, mLeftUp = true;
    bool mRightDown = false, mRightUp = true;
    int mRangeMin = 0, mRangeMax = 0;
};

class Input_Handler
{
public:
    // Sets the mouse range; throws std::runtime_error if max <= min.
    void Init(int rangeMin, int rangeMax);
    // Keys must be registered before their events are applied.
    void RegisterKey(int key);
    // One frame's input: false when the user asked to quit (Escape or window close).
    bool Update();
    // Takes one event off the queue and applies it; same result as Update.
    bool PollEvent();

    bool IsKeyDown(int key);
    bool IsKeyPressed(int key); // went down during this frame's Update
    float GetMouseFraction() const { return mMouse.mFraction; }
    bool IsLeftButtonDown() const { return mMouse.mLeftDown; }
    uint32_t GetFrameCounter() const { return mFrameCounter; }
    bool IsInitialised() const { return mInitialised; }

    // SIGINT and SIGTERM end the game (SDL alone would turn them into a window close,
    // which in play only pauses). Installed after SDL starts; SDL then keeps ours.
    // From then on Update and PollEvent report a quit request, and QuitSignalled says
    // it is one that must end the program. A second signal ends it at once.
    static void InstallQuitSignals();
    static bool QuitSignalled();

private:
    void UpdateMouse();
    void SetKey(int key, bool down);

    std::map<int32_t, Key_State> mKeyStates;
    uint32_t mFrameCounter = 0;
    Mouse_State mMouse;
    bool mInitialised = false;
    std::vector<int32_t> mRegisteredKeys;
};

extern Input_Handler gInput;
