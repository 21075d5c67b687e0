#include "Input/Input_Handler.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include <SDL/SDL.h>

#include "Core/Clock.h"
#include "Core/Globals.h"
#include "Input/Keys.h"

Input_Handler gInput;

// Game code names keys through Keys.h; those numbers must be SDL's own.
static_assert(KEY_RETURN == SDLK_RETURN && KEY_ESCAPE == SDLK_ESCAPE && KEY_SPACE == SDLK_SPACE,
              "key codes differ from SDL's");
static_assert(KEY_B == SDLK_b && KEY_D == SDLK_d && KEY_E == SDLK_e && KEY_F == SDLK_f && KEY_G == SDLK_g &&
                  KEY_K == SDLK_k && KEY_M == SDLK_m && KEY_O == SDLK_o && KEY_P == SDLK_p &&
                  KEY_S == SDLK_s && KEY_W == SDLK_w,
              "letter key codes differ from SDL's");
static_assert(KEY_KP_MINUS == SDLK_KP_MINUS && KEY_KP_PLUS == SDLK_KP_PLUS && KEY_UP == SDLK_UP &&
                  KEY_DOWN == SDLK_DOWN && KEY_RIGHT == SDLK_RIGHT && KEY_LEFT == SDLK_LEFT &&
                  KEY_F11 == SDLK_F11,
              "keypad and arrow key codes differ from SDL's");

namespace
{

volatile std::sig_atomic_t gQuitSignal = 0;

extern "C" void OnQuitSignal(int)
{
    gQuitSignal = 1;
}

const int QUEUE_SIZE = 128; // SDL 1.2 holds at most this many events

// A stick at rest rarely reads 0; a quarter of its travel counts as nothing.
const int STICK_DEAD_ZONE = 8000;
// Button numbers as the Linux drivers give them: south first, then east.
const int PAD_SOUTH = 0;
const int PAD_EAST = 1;
// Start is 7 on Xbox-style pads; pads with analogue triggers as buttons (PlayStation)
// put it at 9.
const int PAD_START = 7;
const int PAD_START_MANY_BUTTONS = 9;
const int MANY_BUTTONS = 13;
// A stick and the buttons the game uses (south, east, Start and one more).
const int PAD_MIN_AXES = 2;
const int PAD_MIN_BUTTONS = 4;

enum Pad_Result
{
    PAD_NOTHING, // no key changed: costs no frame
    PAD_KEY,
    PAD_QUIT
};
int OppositeKey(int key)
{
    switch (key)
    {
    case KEY_LEFT: return KEY_RIGHT;
    case KEY_RIGHT: return KEY_LEFT;
    case KEY_UP: return KEY_DOWN;
    case KEY_DOWN: return KEY_UP;
    default: return key;
    }
}

bool IsPointerEvent(Uint8 type)
{
    return type == SDL_MOUSEMOTION || type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP;
}

// The mouse is read by polling, so while steering by keyboard its events are of no use;
// let in, a moving mouse queues hundreds of them. One filter drops them as they come.
// SDL forgets it whenever its video starts, and setting it empties SDL's queue, pumping
// the window system as it does; so it is set only when it has been lost, and nothing
// may be lost to that: what is queued is taken out first, what the pump brings in is
// held aside by the filter itself, and both are queued again in order.
bool gInstallingFilter = false;
SDL_Event gHeld[QUEUE_SIZE];
int gHeldCount = 0;

int PointerFilter(const SDL_Event* event)
{
    if (IsPointerEvent(event->type) && !gMouseControl)
        return 0;
    if (!gInstallingFilter)
        return 1;
    if (gHeldCount < QUEUE_SIZE)
        gHeld[gHeldCount++] = *event;
    return 0;
}

void InstallPointerFilter()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetEventFilter() == &PointerFilter)
        return;
    SDL_Event waiting[QUEUE_SIZE];
    const int count = SDL_PeepEvents(waiting, QUEUE_SIZE, SDL_GETEVENT, SDL_ALLEVENTS);
    gHeldCount = 0;
    gInstallingFilter = true;
    SDL_SetEventFilter(&PointerFilter);
    gInstallingFilter = false;
    for (int i = 0; i < count; ++i)
        if (PointerFilter(&waiting[i]))
            SDL_PeepEvents(&waiting[i], 1, SDL_ADDEVENT, 0);
    for (int i = 0; i < gHeldCount; ++i)
        SDL_PeepEvents(&gHeld[i], 1, SDL_ADDEVENT, 0);
    gHeldCount = 0;
}

} // namespace

void Input_Handler::Init(int rangeMin, int rangeMax)
{
    mMouse.mRangeMin = rangeMin;
    mMouse.mRangeMax = rangeMax;
    if (rangeMax <= rangeMin)
        throw std::runtime_error("Input Handler: x_max <= x_min !!");
    InstallPointerFilter();
    OpenGamepad();
    mInitialised = true;
}

int ChoosePad(const std::vector<Pad_Info>& pads, int asked)
{
    if (asked >= 0 && asked < static_cast<int>(pads.size()))
        return asked;
    for (size_t i = 0; i < pads.size(); ++i)
        if (pads[i].mAxes >= PAD_MIN_AXES && pads[i].mButtons >= PAD_MIN_BUTTONS)
            return static_cast<int>(i);
    return -1;
}

void Input_Handler::SetMouseRange(int rangeMin, int rangeMax)
{
    if (rangeMax <= rangeMin)
        return;
    mMouse.mRangeMin = rangeMin;
    mMouse.mRangeMax = rangeMax;
}

void Input_Handler::OpenGamepad()
{
    if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0)
        return;
    if (mGamepad && SDL_JoystickOpened(mPadIndex))
        return;
    mGamepad = nullptr;
    mPadIndex = -1;
    // Counts of axes and buttons are had only by opening each device.
    std::vector<Pad_Info> pads;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
    {
        Pad_Info info = {0, 0};
        if (SDL_Joystick* device = SDL_JoystickOpen(i))
        {
            info = {SDL_JoystickNumAxes(device), SDL_JoystickNumButtons(device)};
            SDL_JoystickClose(device);
        }
        pads.push_back(info);
    }
    // A device named in SDL_JOYSTICK_DEVICE is the first SDL lists.
    const int asked = mAskedPad < 0 && std::getenv("SDL_JOYSTICK_DEVICE") ? 0 : mAskedPad;
    const int chosen = ChoosePad(pads, asked);
    if (asked >= 0 && chosen != asked)
        std::cerr << "Gamepad " << asked << " is not there; looking for another." << std::endl;
    if (chosen < 0)
        return;
    SDL_Joystick* pad = SDL_JoystickOpen(chosen);
    if (!pad)
        return;
    SDL_JoystickEventState(SDL_ENABLE);
    mGamepad = pad;
    mPadIndex = chosen;
    mStartButton = SDL_JoystickNumButtons(pad) >= MANY_BUTTONS ? PAD_START_MANY_BUTTONS : PAD_START;
    std::cout << "Gamepad: " << SDL_JoystickName(chosen) << std::endl;
}

void Input_Handler::RegisterKey(int key)
{
    if (IsRegistered(key))
        return;
    mRegisteredKeys.push_back(key);
    mKeyStates[key] = Key_State{false, ClockMs(), mFrameCounter};
}

bool Input_Handler::Update()
{
    if (!mInitialised)
    {
        std::cerr << "Input Handler is being updated without being init!" << std::endl;
        return true;
    }
    if (gMouseControl)
        UpdateMouse();
    ++mFrameCounter;
    return PollEvent();
}

void Input_Handler::InstallQuitSignals()
{
    SDL_Init(0);
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // The first asks for a clean end; a second (the game stuck somewhere) kills it.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void Input_Handler::StopSdl()
{
    SDL_Quit();
}

bool Input_Handler::QuitSignalled()
{
    return gQuitSignal != 0;
}

bool Input_Handler::PollEvent()
{
    if (gQuitSignal)
        return false;
    InstallPointerFilter();
    SDL_Event event;
    // One key or quit event per call. Anything else (pointer, focus, expose) is
    // dropped without costing the frame, so it can never hold keys back; an expose
    // is only noted, for a screen that would otherwise not draw again.
    while (SDL_PollEvent(&event))
    {
        switch (event.type)
        {
        case SDL_KEYDOWN:
        {
            const SDLKey sym = event.key.keysym.sym;
            if (sym == SDLK_F11 || (sym == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT)))
            {
                if (mFullScreenToggle)
                    mFullScreenToggle();
                return true;
            }
            if (sym == SDLK_ESCAPE)
                return false;
            mLastKeyDown = sym;
            mLastKeyFrame = mFrameCounter;
            SetKey(sym, true);
            return true;
        }
        case SDL_KEYUP: SetKey(event.key.keysym.sym, false); return true;
        case SDL_QUIT: return false;
        case SDL_VIDEORESIZE:
            if (mWindowResize)
                mWindowResize(event.resize.w, event.resize.h);
            mExposed = true;
            break;
        case SDL_VIDEOEXPOSE:
        case SDL_ACTIVEEVENT: mExposed = true; break;
        case SDL_JOYAXISMOTION:
        case SDL_JOYHATMOTION:
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
        {
            const int result = ApplyPadEvent(&event);
            if (result == PAD_QUIT)
                return false;
            if (result == PAD_KEY)
                return true;
            break;
        }
        default: break;
        }
    }
    return true;
}

bool Input_Handler::IsRegistered(int key) const
{
    return std::find(mRegisteredKeys.begin(), mRegisteredKeys.end(), key) != mRegisteredKeys.end();
}

void Input_Handler::SetKey(int key, bool down)
{
    if (!IsRegistered(key))
        return;
    // The keyboard takes over the direction it steers: a pad pulled out with its stick
    // pushed cannot leave the runner drifting. Any other key (Space to jump) leaves the
    // stick steering.
    for (int padKey : {key, OppositeKey(key)})
        if (mPadKeys.count(padKey))
            SetPadKey(padKey, false);
    if (down)
        mKeyboardKeys.insert(key);
    else
        mKeyboardKeys.erase(key);
    mKeyStates[key] = Key_State{down, ClockMs(), mFrameCounter};
}

bool Input_Handler::SetPadKey(int key, bool down)
{
    if (!IsRegistered(key))
        return false;
    if (down ? !mPadKeys.insert(key).second : mPadKeys.erase(key) == 0)
        return false;
    Key_State& state = mKeyStates[key];
    // A key the keyboard holds stays down when the pad lets go of it.
    const bool held = down || mKeyboardKeys.count(key) != 0;
    if (state.mDown == held)
        return false;
    state = Key_State{held, ClockMs(), mFrameCounter};
    return true;
}

int Input_Handler::ApplyPadEvent(const void* raw)
{
    const SDL_Event& event = *static_cast<const SDL_Event*>(raw);
    bool changed = false;
    // Both keys of a direction are set so a stick swung across the middle in one
    // event does not leave the old side held.
    auto direction = [&](int negativeKey, int positiveKey, int value)
    {
        changed = SetPadKey(negativeKey, value < 0) || changed;
        changed = SetPadKey(positiveKey, value > 0) || changed;
    };
    // Only the chosen device is open, so every pad event is its own.
    switch (event.type)
    {
    case SDL_JOYAXISMOTION:
    {
        if (event.jaxis.axis > 1)
            return PAD_NOTHING;
        const int value = event.jaxis.value;
        const int sign = value < -STICK_DEAD_ZONE ? -1 : value > STICK_DEAD_ZONE ? 1 : 0;
        if (event.jaxis.axis == 0)
        {
            direction(KEY_LEFT, KEY_RIGHT, sign);
            // Steering keys chosen by the player steer from the pad too.
            direction(gKeys.mLeft, gKeys.mRight, sign);
        }
        else
            direction(KEY_UP, KEY_DOWN, sign);
        break;
    }
    case SDL_JOYHATMOTION:
    {
        if (event.jhat.hat != 0)
            return PAD_NOTHING;
        const Uint8 hat = event.jhat.value;
        const int across = (hat & SDL_HAT_LEFT) ? -1 : (hat & SDL_HAT_RIGHT) ? 1 : 0;
        direction(KEY_LEFT, KEY_RIGHT, across);
        direction(gKeys.mLeft, gKeys.mRight, across);
        direction(KEY_UP, KEY_DOWN, (hat & SDL_HAT_UP) ? -1 : (hat & SDL_HAT_DOWN) ? 1 : 0);
        break;
    }
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: return ApplyPadButton(event.jbutton.button, event.type == SDL_JOYBUTTONDOWN);
    default: break;
    }
    return changed ? PAD_KEY : PAD_NOTHING;
}

int Input_Handler::ApplyPadButton(int button, bool down)
{
    if (button == PAD_EAST)
        return down ? PAD_QUIT : PAD_NOTHING;
    bool changed = false;
    if (button == PAD_SOUTH)
    {
        // Jumps in play, chooses in menus.
        changed = SetPadKey(KEY_SPACE, down) || changed;
        changed = SetPadKey(KEY_RETURN, down) || changed;
        changed = SetPadKey(gKeys.mJump, down) || changed;
    }
    else if (button == mStartButton)
    {
        changed = SetPadKey(KEY_P, down);
        changed = SetPadKey(gKeys.mPause, down) || changed;
    }
    return changed ? PAD_KEY : PAD_NOTHING;
}

// A key never registered has no state and is up.
const Key_State* Input_Handler::Find(int key) const
{
    const auto it = mKeyStates.find(key);
    return it == mKeyStates.end() ? nullptr : &it->second;
}

bool Input_Handler::IsKeyDown(int key) const
{
    const Key_State* state = Find(key);
    return state && state->mDown;
}

bool Input_Handler::IsKeyPressed(int key) const
{
    const Key_State* state = Find(key);
    return state && state->mDown && state->mFrame == mFrameCounter;
}

void Input_Handler::UpdateMouse()
{
    if (mRangeSource)
    {
        int rangeMin = mMouse.mRangeMin, rangeMax = mMouse.mRangeMax;
        mRangeSource(rangeMin, rangeMax);
        SetMouseRange(rangeMin, rangeMax);
    }
    const Uint8 buttons = SDL_GetMouseState(&mMouse.mX, &mMouse.mY);
    // Through the picture's scaling: its left edge is 0, its right edge 1, whatever the
    // window's size or the bars beside the picture.
    mMouse.mFraction = static_cast<float>(mMouse.mX - mMouse.mRangeMin) /
                       static_cast<float>(mMouse.mRangeMax - mMouse.mRangeMin);
    mMouse.mLeftDown = (buttons & SDL_BUTTON_LMASK) != 0;
}
