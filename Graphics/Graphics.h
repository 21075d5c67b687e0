// Graphics owns the window and the OpenGL state: a fixed perspective and linear fog,
// drawn in immediate mode as textured quads. The screen is cleared lazily by the first
// draw of a frame and shown by Render.
// The picture is 4:3 whatever the window: the largest that fits, centred, with black
// bars beside or above it. Full screen covers the desktop at its own resolution (the
// monitor's mode is never changed); the window can be resized. The world is drawn at
// the picture's own size (sharp) or, where that costs a frame too much, smaller and
// scaled up (smooth); which one is chosen by the measured cost of the frames. Only the
// world is ever scaled: the HUD, menus and text are drawn at the picture's size.
// Used before a successful Init, every operation is harmless: nothing touches GL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Core/Constants.h"
#include "Graphics/Draw_Types.h"
#include "Graphics/Texture_Cache.h"

// Linear fog: how thick, where it starts and where nothing is seen any more.
struct Fog_Parameters
{
    float mDensity;
    float mStart;
    float mEnd;
};

// The caves' own fog, set on every start, restart and menu; a torch brings it back too.
constexpr Fog_Parameters CAVE_FOG = {0.8f, 3.0f, 20.0f};

class Animation_Frame;
class Animation_Set;
class Animation;

// A rectangle of window pixels, counted from the window's top-left corner.
struct Picture_Rect
{
    int mX, mY, mWidth, mHeight;
};

// The largest 4:3 picture a window of this size holds, centred.
Picture_Rect FitPicture(int windowWidth, int windowHeight);

// The size the world is drawn at to be scaled up into a picture of this size. Where a
// whole fraction of the picture (a half, a third...) is at most 800x600 and at least
// 640x480, that one, each pixel shown as a square of mFactor x mFactor: even and crisp,
// and the cheapest scaling there is. Else 800x600, filtered smoothly (mFactor 0).
struct World_Scale
{
    int mWidth, mHeight, mFactor;
};
World_Scale ScaleWorldInto(int pictureWidth, int pictureHeight);

// Chooses between drawing the world at the picture's size (sharp) and smaller, scaled
// up (smooth), from what frames really cost. Sharp gives way when more than a
// tenth of the frames of the last two seconds cost more than the budget; smooth goes
// back to sharp only when its cost, grown by how much dearer sharp was found to be,
// fits well within the budget. Never twice within HOLD_MS.
class Resolution_Choice
{
public:
    static const int BUDGET_MS = 12;   // draw and show; the rest of 16.7 ms is the game's
    static const int WINDOW_MS = 2000; // frames judged together
    static const int HOLD_MS = 5000;   // the least time between two changes

    // Starts anew, sharp, at time now (a new window or a new picture size).
    void Reset(int32_t now);
    // One frame drawn at the current choice took cost ms; true when the choice changed.
    bool AddFrame(int cost, int32_t now);
    bool IsSharp() const { return mSharp; }

private:
    bool mSharp = true;
    int32_t mWindowStart = 0;
    int32_t mLastChange = 0;
    std::vector<int> mCosts;
    float mSharpOverSmooth = 0.0f; // sharp cost over smooth cost, once both were seen
    float mLastSharpCost = 0.0f;   // a frame's typical cost when sharp gave way
    bool mJustSmooth = false;      // the first window since sharp gave way
};

class Graphics
{
public:
    // Opens the window (full screen when asked; a window, with one line on standard
    // error, when full screen cannot be had), of the given size when not full screen.
    // False, with one line on standard error, when the video device or the GL window
    // cannot be had.
    bool Init(bool fullScreen, int windowWidth = SCREEN_WIDTH, int windowHeight = SCREEN_HEIGHT);
    // What opens the video mode: SDL_SetVideoMode, the surface given back as void*.
    // Tests stand in for a display that refuses a mode; null puts SDL's back.
    typedef void* (*Video_Mode_Opener)(int width, int height, int bitsPerPixel, uint32_t flags);
    static void SetVideoModeOpener(Video_Mode_Opener opener);
    // Releases the image bank's textures, then closes the window.
    void Shutdown();
    // Shows the frame, restores the saved view matrix and arms the next lazy clear.
    void Render();
    bool IsInitialised() const { return mInitialised; }
    bool IsFullScreen() const { return mFullScreen; }
    // Switches between the window (at its kept size) and full screen (at the desktop's
    // size), keeping the GL context where SDL can, else uploading every image again
    // (always, with reopen). False when the switch did not happen.
    bool SetFullScreen(bool fullScreen, bool reopen = false);
    // The window was resized to this size (ignored in full screen): the picture follows.
    void ResizeWindow(int width, int height);
    // The size the window has, or will have again when full screen ends.
    int GetWindowedWidth() const { return mWindowedWidth; }
    int GetWindowedHeight() const { return mWindowedHeight; }
    // Where the picture sits in the window, in window pixels.
    const Picture_Rect& GetPicture() const { return mPicture; }
    // The resolution the world is drawn at: the picture's, or smaller and scaled up.
    int GetDrawWidth() const { return mSmooth ? mScale.mWidth : mPicture.mWidth; }
    int GetDrawHeight() const { return mSmooth ? mScale.mHeight : mPicture.mHeight; }
    // What is drawn between these (the cave and what is in it) is the world: scaled up
    // when smooth, at the end or when the frame is shown. The world must be the frame's
    // first draw to be scaled; anything after it, and any frame without it, is drawn at
    // the picture's own size.
    void BeginWorld();
    void EndWorld();
    // Sharp, smooth, or chosen by the frames' cost (the default).
    enum Draw_Mode
    {
        DRAW_CHOSEN,
        DRAW_SHARP,
        DRAW_SMOOTH
    };
    void SetDrawMode(Draw_Mode mode);

    void EnableFog();
    void DisableFog();                            // also sets the clear colour to black
    void SetFogColour(float r, float g, float b); // the clear colour follows the fog colour
    void SetFogParameters(float density, float start, float end);
    void SetFogParameters(const Fog_Parameters& fog) { SetFogParameters(fog.mDensity, fog.mStart, fog.mEnd); }
    const float* GetFogColour() const { return mFogColour; } // r, g, b, a
    float GetFogDensity() const { return mFog.mDensity; }
    float GetFogStart() const { return mFog.mStart; }
    float GetFogEnd() const { return mFog.mEnd; }

    // Colours come alpha first. The innermost pushed colour is in force; popping the
    // last one leaves opaque white.
    void PushColour(float a, float r, float g, float b);
    void PopColour();
    size_t GetColourDepth() const { return mColourStack.size(); }

    void DrawTexturedQuad(const Quad& quad, const Texture_Rect& rect, const std::string& key);
    // Image over laid at alpha on image under in one draw, in the current colour, which
    // must be opaque (and white unless the blend is lasting). Lasting: the same blend is
    // asked for frame after frame. False (nothing drawn) where that cannot be done: draw
    // both instead.
    bool DrawCrossfadeQuad(const Quad& quad, const Texture_Rect& rect, const std::string& under,
                           const std::string& over, float alpha, bool lasting);
    void DrawFrame(const Animation_Frame& frame, const Quad& quad);
    void DrawAnimationSet(const Animation_Set& set, const Quad& quad);
    void DrawAnimation(const Animation& animation, const Quad& quad);
    // Centres the frame on (x, y) at depth z, sized by its image's world size.
    void DrawFrameAt(const Animation_Frame& frame, float x, float y, float z);

    // Mostly clear images are drawn as the parts that show anything (Image_Bank finds
    // them); off, every image is one quad. The picture is the same either way.
    void SetDrawInParts(bool on) { mDrawInParts = on; }
    // A passing crossfade is drawn in one pass where OpenGL 1.3 is there (looked at once
    // per GL context); elsewhere, or switched off, it is left to two draws.
    void SetOnePassBlend(bool on) { mOnePassAllowed = on; }
    bool HasOnePassBlend() const { return mOnePassBlend && mOnePassAllowed; }
    // True once after the window was made anew or switched: the picture shown is gone.
    bool TakePictureLost()
    {
        const bool lost = mPictureLost;
        mPictureLost = false;
        return lost;
    }

    // Turns everything drawn after it, this frame, about the line of sight (the spinner).
    void RotateView(float degrees);

    // A copy of everything drawn so far this frame, to stand in for a picture that
    // cannot change (the world behind the pause menu) at the cost of one copy instead of
    // all its draws. Drawn back pixel for pixel. Gone when the window is made anew or
    // switched, or when forgotten; Draw then returns false and draws nothing.
    bool KeepPicture();
    bool DrawKeptPicture();
    void ForgetPicture() { mKeptValid = false; }
    // Every texture made from others; dropped with the GL context.
    Texture_Cache& Textures() { return mTextures; }

private:
    void SetUpContext(bool fogOn, const float clearColour[4]);
    bool SetVideoMode(bool fullScreen);
    bool Reopen(bool fullScreen, bool reupload, int windowedWidth, int windowedHeight);
    void MakeProbe();
    bool CanScale() const;
    void SetViewport();
    void LeaveWorld();
    bool InCorner() const { return mSmooth && mWorldOpen; }
    bool ClearCoversDrawing() const;
    void SetSmooth(bool smooth);
    void ShowScaledPicture(bool fromCorner);
    void ClearIfPending();
    void ApplyColour();
    void SetClearColour(float r, float g, float b, float a);

    void* mScreen = nullptr; // the SDL video surface
    bool mInitialised = false;
    bool mFullScreen = false;
    int mWindowedWidth = SCREEN_WIDTH, mWindowedHeight = SCREEN_HEIGHT;
    int mDesktopWidth = 0, mDesktopHeight = 0;
    int mWindowWidth = SCREEN_WIDTH, mWindowHeight = SCREEN_HEIGHT; // as it is now
    Picture_Rect mPicture = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    World_Scale mScale = {SCREEN_WIDTH, SCREEN_HEIGHT, 0}; // the world's size when smooth
    Draw_Mode mDrawMode = DRAW_CHOSEN;
    bool mSmooth = false;
    bool mWorldOpen = false;     // the world is being drawn in the corner, to be scaled up
    bool mWorldInTarget = false; // ... of its own frame buffer rather than the window
    bool mWorldDrawn = false;    // this frame has the world in it
    Resolution_Choice mChoice;
    int32_t mFrameStart = -1;   // when this frame's first draw cleared the screen
    uint32_t mProbeTexture = 0; // gone when the GL context was made anew
    float mClearColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    bool mClearPending = false;
    bool mPictureLost = true;
    Texture_Cache mTextures;
    bool mKeptValid = false;
    bool mDrawInParts = true;
    bool mOnePassBlend = false; // the context has what the one-pass crossfade needs
    bool mOnePassAllowed = true;
    Fog_Parameters mFog = {0.0f, 0.0f, 0.0f};
    float mFogColour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    struct Colour
    {
        float r, g, b, a;
    };
    std::vector<Colour> mColourStack;
};

extern Graphics gGraphics;

// The window pixels the picture spans from left to right: where mouse steering runs.
void PictureAcross(int& left, int& right);
