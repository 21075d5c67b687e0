// Graphics owns the window and the OpenGL state: an 800x600 window with a fixed
// perspective and linear fog, drawn in immediate mode as textured quads. The screen
// is cleared lazily by the first draw of a frame and shown by Render.
// Used before a successful Init, every operation is harmless: nothing touches GL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Graphics/Draw_Types.h"

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

class Graphics
{
public:
    Graphics();

    // Opens the window (full screen when asked; a window, with one line on standard
    // error, when full screen cannot be had). False, with one line on standard error,
    // when the video device or the GL window cannot be had.
    bool Init(bool fullScreen);
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
    // Switches between the window and full screen, in place where SDL can, else by
    // opening a new window and uploading every image again (always, with reopen).
    // False when the switch did not happen.
    bool SetFullScreen(bool fullScreen, bool reopen = false);

    void EnableFog();
    void DisableFog();                            // also sets the clear colour to black
    void SetFogColour(float r, float g, float b); // the clear colour follows the fog colour
    void SetFogParameters(float density, float start, float end);
    void SetFogParameters(const Fog_Parameters& fog) { SetFogParameters(fog.mDensity, fog.mStart, fog.mEnd); }
    const float* GetFogColour() const { return mFogColour; } // r, g, b, a
    float GetFogDensity() const { return mFogDensity; }
    float GetFogStart() const { return mFogStart; }
    float GetFogEnd() const { return mFogEnd; }

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

private:
    void SetUpContext(bool fogOn, const float clearColour[4]);
    void ClearIfPending();
    void ApplyColour();

    void* mScreen; // the SDL video surface
    bool mInitialised;
    bool mFullScreen = false;
    bool mClearPending;
    bool mPictureLost = true;
    uint32_t mKeptTexture = 0;
    bool mKeptValid = false;
    bool mDrawInParts;
    bool mOnePassBlend = false; // the context has what the one-pass crossfade needs
    bool mOnePassAllowed = true;
    float mFogDensity, mFogStart, mFogEnd;
    float mFogColour[4];
    struct Colour
    {
        float r, g, b, a;
    };
    std::vector<Colour> mColourStack;
};

extern Graphics gGraphics;
