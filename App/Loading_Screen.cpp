#include "App/Loading_Screen.h"

#include "Core/Clock.h"
#include "Graphics/Animation.h"
#include "Graphics/Graphics.h"
#include "Input/Input_Handler.h"

namespace
{

const int32_t REDRAW_SPACING_MS = 34;
const int32_t MINIMUM_SHOW_MS = 7000;
const float ICON_TURN_DEGREES = 15.0f;
const float ICON_Y = -0.3f;

struct Loading_Screen_State
{
    Animation_Frame mScreen;
    Animation_Frame mIcon;
    bool mFramesSet = false;
    bool mStarted = false;
    int32_t mNextRedraw = 0;
    int32_t mDeadline = 0;
};

Loading_Screen_State& State()
{
    static Loading_Screen_State state;
    return state;
}

} // namespace

bool LoadingScreenCallback(bool finish)
{
    Loading_Screen_State& state = State();
    if (!state.mStarted)
    {
        const int32_t now = ClockMs();
        state.mNextRedraw = now + REDRAW_SPACING_MS;
        state.mDeadline = now + MINIMUM_SHOW_MS;
        state.mStarted = true;
    }

    // Between images this runs once; after the last image it holds the screen up
    // until the deadline, redrawing at the same pace.
    for (;;)
    {
        if (finish && ClockMs() >= state.mDeadline)
            return false;
        if (!gInput.Update())
            return true;
        const int32_t now = ClockMs();
        if (now < state.mNextRedraw)
        {
            if (!finish)
                return false;
            SleepMs(static_cast<uint32_t>(state.mNextRedraw - now));
            continue;
        }

        if (!state.mFramesSet)
        {
            state.mScreen.SetImage("LOADING_SCREEN");
            state.mIcon.SetImage("LOADING_ICON");
            state.mIcon.mTint.Set(0.5f, 1.0f, 1.0f, 1.0f);
            state.mFramesSet = true;
        }
        // A quit request taken off the queue here must not be lost.
        if (!gInput.PollEvent())
            return true;
        gGraphics.DrawFrameAt(state.mScreen, 0.0f, 0.0f, 0.0f);
        gGraphics.DrawFrameAt(state.mIcon, 0.0f, ICON_Y, 0.0f);
        state.mIcon.mRotation.mAngle += ICON_TURN_DEGREES;
        gGraphics.Render();
        state.mNextRedraw = ClockMs() + REDRAW_SPACING_MS;

        if (!finish)
            return false;
    }
}

int LoadingScreenRedraws()
{
    return static_cast<int>(State().mIcon.mRotation.mAngle / ICON_TURN_DEGREES + 0.5f);
}

void ResetLoadingScreen()
{
    State() = Loading_Screen_State();
}
