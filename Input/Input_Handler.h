// Turns the SDL event queue into per-key state the game polls: held, and pressed this
// frame. One event is taken per update. Escape and the window's close event are
// reported to the caller as quit requests instead of being acted on. A gamepad (the
// first device with a stick and buttons enough, or the one asked for) drives the same
// keys: stick and D-pad the arrows, south button Space and Enter, Start the pause key,
// east button the same as Escape.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

struct Key_State
{
    bool mDown;
    int32_t mTime;   // clock (ms) of the last change
    uint32_t mFrame; // frame counter at the last change
};

// What SDL tells of a joystick device before it is chosen.
struct Pad_Info
{
    int mAxes;
    int mButtons;
};

// The device to steer with: the one asked for (an index into SDL's list) when there is
// such a device, else the first with a stick (2 axes) and 4 buttons, which skips the
// motion sensors many laptops list first. -1 when none will do.
int ChoosePad(const std::vector<Pad_Info>& pads, int asked);

struct Mouse_State
{
    int mX = 0, mY = 0;
    float mFraction = 0.0f; // x from the range's start, over the range width
    bool mLeftDown = false;
    int mRangeMin = 0, mRangeMax = 0;
};

class Input_Handler
{
public:
    // Sets the mouse range; throws std::runtime_error if max <= min.
    void Init(int rangeMin, int rangeMax);
    // The window pixels the pointer steers across, from one side of the picture to the
    // other. A range of no width is refused.
    void SetMouseRange(int rangeMin, int rangeMax);
    // Asked for that range before each reading of the mouse, since the picture moves
    // whenever the window changes, whoever changed it.
    void SetMouseRangeSource(void (*source)(int& rangeMin, int& rangeMax)) { mRangeSource = source; }
    // Keys must be registered before their events are applied.
    void RegisterKey(int key);
    // One frame's input: false when the user asked to quit (Escape or window close).
    bool Update();
    // Takes one event off the queue and applies it; same result as Update.
    bool PollEvent();

    bool IsKeyDown(int key) const;
    bool IsKeyPressed(int key) const; // went down during this frame's Update
    // Any key that went down during this frame's Update, registered or not (never
    // Escape, F11 or Alt+Enter); 0 for none. For choosing keys.
    int GetKeyPressed() const { return mLastKeyFrame == mFrameCounter ? mLastKeyDown : 0; }
    float GetMouseFraction() const { return mMouse.mFraction; }
    bool IsLeftButtonDown() const { return mMouse.mLeftDown; }
    uint32_t GetFrameCounter() const { return mFrameCounter; }
    bool IsInitialised() const { return mInitialised; }
    // The joystick to steer with, by its index in SDL's list (-1: the first that will
    // do); before Init.
    void AskForGamepad(int index) { mAskedPad = index; }
    // Called (before anything else sees the key) for F11 and Alt+Enter.
    void SetFullScreenToggle(void (*toggle)()) { mFullScreenToggle = toggle; }
    // Called with the new size when the player resizes the window.
    void SetWindowResize(void (*resize)(int width, int height)) { mWindowResize = resize; }
    // True once after the window was uncovered or shown again: what it showed may be gone.
    bool TakeExposed()
    {
        const bool exposed = mExposed;
        mExposed = false;
        return exposed;
    }

    // Starts SDL, then makes SIGINT and SIGTERM end the game (SDL alone would turn them
    // into a window close, which in play only pauses); SDL keeps ours. From then on
    // Update and PollEvent report a quit request, and QuitSignalled says it is one that
    // must end the program. A second signal ends it at once.
    static void InstallQuitSignals();
    static void StopSdl(); // last of all, once every manager has shut down
    static bool QuitSignalled();

private:
    void UpdateMouse();
    void SetKey(int key, bool down);
    const Key_State* Find(int key) const;
    bool IsRegistered(int key) const;
    void OpenGamepad();
    bool SetPadKey(int key, bool down);   // true when the key's state changed
    int ApplyPadEvent(const void* event); // an SDL_Event
    int ApplyPadButton(int button, bool down);

    std::map<int32_t, Key_State> mKeyStates;
    uint32_t mFrameCounter = 0;
    Mouse_State mMouse;
    bool mInitialised = false;
    std::vector<int32_t> mRegisteredKeys;
    // A key is down while the keyboard or the pad holds it; these are the pad's.
    std::set<int32_t> mPadKeys;
    std::set<int32_t> mKeyboardKeys;
    void* mGamepad = nullptr; // SDL_Joystick
    int mPadIndex = -1;       // its index in SDL's list, as its events name it
    int mAskedPad = -1;
    int mStartButton = 7;
    void (*mFullScreenToggle)() = nullptr;
    void (*mWindowResize)(int, int) = nullptr;
    void (*mRangeSource)(int&, int&) = nullptr;
    bool mExposed = false;
    int mLastKeyDown = 0;
    uint32_t mLastKeyFrame = 0;
};

extern Input_Handler gInput;
