#include "Input/Input_Handler.h"

#include <algorithm>
#include <csignal>
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
                  KEY_DOWN == SDLK_DOWN && KEY_RIGHT == SDLK_RIGHT && KEY_LEFT == SDLK_LEFT,
              "keypad and arrow key codes differ from SDL's");

namespace
{

volatile std::sig_atomic_t gQuitSignal = 0;

extern "C" void OnQuitSignal(int)
{
    gQuitSignal = 1;
}

const int QUEUE_SIZE = 128; // SDL 1.2 holds at most this many events
const Uint8 POINTER_EVENTS[] = {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP};

// The mouse is read by polling, so its events are of no use; left on, a moving mouse
// queues hundreds of them and every key press waits behind them. SDL forgets this
// setting whenever its video subsystem (re)starts, so it is checked before each poll.
// Setting it empties SDL's whole queue, so it is only set when it has been lost, and the
// events waiting then (a key pressed while the window opened) are taken out and put back.
void IgnorePointerEvents()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    bool lost = false;
    for (Uint8 type : POINTER_EVENTS)
        lost = lost || SDL_EventState(type, SDL_QUERY) != SDL_IGNORE;
    if (!lost)
        return;
    SDL_Event waiting[QUEUE_SIZE];
    const int count = SDL_PeepEvents(waiting, QUEUE_SIZE, SDL_GETEVENT, SDL_ALLEVENTS);
    for (Uint8 type : POINTER_EVENTS)
        SDL_EventState(type, SDL_IGNORE);
    for (int i = 0; i < count; ++i)
    {
        const Uint8 type = waiting[i].type;
        if (type != SDL_MOUSEMOTION && type != SDL_MOUSEBUTTONDOWN && type != SDL_MOUSEBUTTONUP)
            SDL_PeepEvents(&waiting[i], 1, SDL_ADDEVENT, 0);
    }
}

} // namespace

void Input_Handler::Init(int rangeMin, int rangeMax)
{
    mMouse.mRangeMin = rangeMin;
    mMouse.mRangeMax = rangeMax;
    if (rangeMax <= rangeMin)
        throw std::runtime_error("Input Handler: x_max <= x_min !!");
    mMouse.mInitialised = true;
    IgnorePointerEvents();
    mInitialised = true;
}

void Input_Handler::RegisterKey(int key)
{
    if (std::find(mRegisteredKeys.begin(), mRegisteredKeys.end(), key) != mRegisteredKeys.end())
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
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // The first asks for a clean end; a second (the game stuck somewhere) kills it.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Input_Handler::QuitSignalled()
{
    return gQuitSignal != 0;
}

bool Input_Handler::PollEvent()
{
    if (gQuitSignal)
        return false;
    IgnorePointerEvents();
    SDL_Event event;
    // One key or quit event per call. Anything else (pointer, focus, expose) is
    // dropped without costing the frame, so it can never hold keys back.
    while (SDL_PollEvent(&event))
    {
        switch (event.type)
        {
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_ESCAPE)
                return false;
            SetKey(event.key.keysym.sym, true);
            return true;
        case SDL_KEYUP: SetKey(event.key.keysym.sym, false); return true;
        case SDL_QUIT: return false;
        default: break;
        }
    }
    return true;
}

void Input_Handler::SetKey(int key, bool down)
{
    if (std::find(mRegisteredKeys.begin(), mRegisteredKeys.end(), key) == mRegisteredKeys.end())
        return;
    mKeyStates[key] = Key_State{down, ClockMs(), mFrameCounter};
}

bool Input_Handler::IsKeyDown(int key)
{
    return mKeyStates[key].mDown;
}

bool Input_Handler::IsKeyPressed(int key)
{
    const Key_State& state = mKeyStates[key];
    return state.mDown && state.mFrame == mFrameCounter;
}

void Input_Handler::UpdateMouse()
{
    if (!mMouse.mInitialised)
        throw std::runtime_error("Oh shoot, you did not init the Input Handler.");
    mMouse.mPreviousX = mMouse.mX;
    mMouse.mPreviousY = mMouse.mY;
    const Uint8 buttons = SDL_GetMouseState(&mMouse.mX, &mMouse.mY);
    mMouse.mFraction =
        static_cast<float>(mMouse.mX) / static_cast<float>(mMouse.mRangeMax - mMouse.mRangeMin);
    mMouse.mLeftDown = (buttons & SDL_BUTTON_LMASK) != 0;
    mMouse.mLeftUp = !mMouse.mLeftDown;
    mMouse.mRightDown = (buttons & SDL_BUTTON_RMASK) != 0;
    mMouse.mRightUp = !mMouse.mRightDown;
}
