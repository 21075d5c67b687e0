// The window and its GL context: opening, switching, resizing, showing and closing,
// and the resolution the world is drawn at.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include <SDL/SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "Core/Clock.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"

void PictureAcross(int& left, int& right)
{
    const Picture_Rect& picture = gGraphics.GetPicture();
    left = picture.mX;
    right = picture.mX + picture.mWidth;
}

Picture_Rect FitPicture(int windowWidth, int windowHeight)
{
    if (windowWidth <= 0 || windowHeight <= 0)
        return Picture_Rect{0, 0, 0, 0};
    int width = windowWidth, height = windowHeight;
    // Wider than 4:3: bars left and right; taller: bars above and below.
    if (static_cast<long>(windowWidth) * 3 > static_cast<long>(windowHeight) * 4)
        width = std::min(windowWidth, static_cast<int>(std::lround(windowHeight * 4.0 / 3.0)));
    else
        height = std::min(windowHeight, static_cast<int>(std::lround(windowWidth * 3.0 / 4.0)));
    return Picture_Rect{(windowWidth - width) / 2, (windowHeight - height) / 2, width, height};
}

World_Scale ScaleWorldInto(int pictureWidth, int pictureHeight)
{
    for (int factor = 2; pictureWidth / factor >= 640 && pictureHeight / factor >= 480; ++factor)
        if (pictureWidth / factor <= SCREEN_WIDTH && pictureHeight / factor <= SCREEN_HEIGHT)
            return World_Scale{pictureWidth / factor, pictureHeight / factor, factor};
    return World_Scale{SCREEN_WIDTH, SCREEN_HEIGHT, 0};
}

void Resolution_Choice::Reset(int32_t now)
{
    mSharp = true;
    mWindowStart = now;
    mLastChange = now - HOLD_MS;
    mCosts.clear();
    mSharpOverSmooth = 0.0f;
    mLastSharpCost = 0.0f;
    mJustSmooth = false;
}

bool Resolution_Choice::AddFrame(int cost, int32_t now)
{
    mCosts.push_back(cost);
    if (now - mWindowStart < WINDOW_MS)
        return false;
    // The cost a tenth of the frames exceed.
    std::vector<int> sorted = mCosts;
    const size_t rank = sorted.size() * 9 / 10;
    std::nth_element(sorted.begin(), sorted.begin() + rank, sorted.end());
    const float typical = static_cast<float>(sorted[rank]);
    mCosts.clear();
    mWindowStart = now;
    const bool mayChange = now - mLastChange >= HOLD_MS;
    bool change = false;
    if (mSharp)
    {
        change = mayChange && typical > BUDGET_MS;
        if (change)
        {
            mLastSharpCost = typical;
            mJustSmooth = true;
        }
    }
    else if (mJustSmooth)
    {
        // How much dearer sharp is, from the frames on either side of the change.
        mSharpOverSmooth = mLastSharpCost / std::max(typical, 1.0f);
        mJustSmooth = false;
    }
    else
    {
        change = mayChange && typical * mSharpOverSmooth <= BUDGET_MS * 0.75f;
    }
    if (change)
    {
        mSharp = !mSharp;
        mLastChange = now;
    }
    return change;
}

namespace
{

// The world's perspective, drawn into whatever viewport is set.
void SetViewMatrices()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The near plane sits on the eye: with no depth test the depth range is unused,
    // and nothing between the eye and the screen plane is ever cut away.
    gluPerspective(VIEW_FIELD_OF_VIEW, static_cast<double>(SCREEN_WIDTH) / SCREEN_HEIGHT, 0.0, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, VIEW_EYE_Z, 0.0, 0.0, -1.0, 0.0, 1.0, 0.0);
}

void* SdlVideoMode(int width, int height, int bitsPerPixel, uint32_t flags)
{
    return SDL_SetVideoMode(width, height, bitsPerPixel, flags);
}

Graphics::Video_Mode_Opener gOpenVideoMode = SdlVideoMode;

// The one-pass crossfade reads two textures through a second texture unit and mixes
// them with the combine mode: OpenGL 1.3. The game asks only for 1.1 otherwise.
bool ContextHasOnePassBlend()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2)
        return false;
    if (major < 1 || (major == 1 && minor < 3))
        return false;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    return units >= 2;
}

// The video device, with what the game's GL window needs of it. False, with one line
// on standard error, when there is none.
bool StartVideo()
{
    // SDL's only OpenGL-capable driver here is X11. Left to itself, without a display
    // it falls back to text-mode drivers that take over the terminal only to fail at
    // the GL window. A driver the user names still wins.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    // On sdl12-compat (SDL 1.2 over SDL2) a GL window is otherwise drawn into an
    // offscreen buffer and copied to the window every frame, so that full screen can
    // scale: about a third more work a frame on a software renderer. Without it full
    // screen changes the screen's mode, as the original SDL 1.2 does. A player's own
    // setting wins.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 0);
    // Full screen is the desktop's own size, so the screen's mode never needs to
    // change; the original SDL 1.2 would still set the mode it already has.
    setenv("SDL_VIDEO_X11_VIDMODE", "0", 0);
    setenv("SDL_VIDEO_X11_XRANDR", "0", 0);
    // An X server that resets when its last client leaves (as Xvfb does by default)
    // turns connections away for a moment; SDL's own probe of the display can cause
    // just that. A display that is named gets a few more tries.
    const int tries = getenv("DISPLAY") ? 5 : 1;
    int status = -1;
    for (int attempt = 0; attempt < tries && status < 0; ++attempt)
    {
        if (attempt > 0)
            SDL_Delay(200);
        status = SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    if (status < 0)
    {
        std::cerr << "Could not initialize video.  SDL error: " << SDL_GetError() << std::endl;
        return false;
    }

    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    // Nothing tests depth (later draws paint over earlier ones), so no depth buffer:
    // without one, Mesa's software renderer drops whatever an opaque draw hides.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    return true;
}

} // namespace

void Graphics::SetVideoModeOpener(Video_Mode_Opener opener)
{
    gOpenVideoMode = opener ? opener : SdlVideoMode;
}

bool Graphics::Init(bool fullScreen, int windowWidth, int windowHeight)
{
    if (mInitialised)
        return true;
    if (!StartVideo())
        return false;

    // Before the first window, SDL reports the desktop's own size.
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    const bool known = info && info->current_w > 0 && info->current_h > 0;
    mDesktopWidth = known ? info->current_w : SCREEN_WIDTH;
    mDesktopHeight = known ? info->current_h : SCREEN_HEIGHT;
    // A kept size larger than today's desktop would put the picture partly off screen.
    mWindowedWidth = std::max(WINDOW_MIN_WIDTH, std::min(windowWidth, std::max(mDesktopWidth, SCREEN_WIDTH)));
    mWindowedHeight =
        std::max(WINDOW_MIN_HEIGHT, std::min(windowHeight, std::max(mDesktopHeight, SCREEN_HEIGHT)));
    bool opened = SetVideoMode(fullScreen);
    if (!opened && fullScreen)
    {
        // A full screen kept from an earlier game (another display, a docked laptop)
        // must never stop this one.
        std::cerr << "Full screen could not be had (SDL error: " << SDL_GetError()
                  << "); playing in a window." << std::endl;
        fullScreen = false;
        opened = SetVideoMode(false);
    }
    if (!opened)
    {
        // No display or no GL visual: there is nothing to draw on, so say why and
        // leave the video device closed rather than drawing into nowhere.
        std::cerr << "Could not open the " << (fullScreen ? mDesktopWidth : mWindowedWidth) << "x"
                  << (fullScreen ? mDesktopHeight : mWindowedHeight)
                  << " OpenGL window.  SDL error: " << SDL_GetError() << std::endl;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    // From here on there is a GL context, so the setters below reach GL.
    mInitialised = true;

    mColourStack.clear();
    mColourStack.reserve(15);
    mFogColour[0] = mFogColour[1] = mFogColour[2] = 0.0f;
    mFog = CAVE_FOG;
    const float black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    SetUpContext(false, black);

    SDL_ShowCursor(SDL_DISABLE);
    SDL_WM_SetCaption(GAME_TITLE, GAME_SHORT_TITLE);

    glPushMatrix();
    mClearPending = true;
    mPictureLost = true;
    mKeptValid = false;
    mTextures.Drop(true);
    MakeProbe();
    return true;
}

void Graphics::MakeProbe()
{
    GLuint probe = 0;
    glGenTextures(1, &probe);
    glBindTexture(GL_TEXTURE_2D, probe);
    mProbeTexture = probe;
}

bool Graphics::SetVideoMode(bool fullScreen)
{
    const int width = fullScreen ? mDesktopWidth : mWindowedWidth;
    const int height = fullScreen ? mDesktopHeight : mWindowedHeight;
    const Uint32 flags = SDL_HWSURFACE | SDL_OPENGL | (fullScreen ? SDL_FULLSCREEN : SDL_RESIZABLE);
    SDL_Surface* screen = static_cast<SDL_Surface*>(gOpenVideoMode(width, height, SCREEN_BPP, flags));
    if (!screen)
        return false;
    mScreen = screen;
    mFullScreen = fullScreen;
    mWindowWidth = screen->w;
    mWindowHeight = screen->h;
    mPicture = FitPicture(mWindowWidth, mWindowHeight);
    mScale = ScaleWorldInto(mPicture.mWidth, mPicture.mHeight);
    mChoice.Reset(ClockMs());
    mSmooth = mDrawMode == DRAW_SMOOTH && CanScale();
    LeaveWorld();
    mFrameStart = -1;
    mClearPending = true;
    mPictureLost = true;
    mKeptValid = false;
    return true;
}

bool Graphics::CanScale() const
{
    return mPicture.mWidth > SCREEN_WIDTH && mPicture.mHeight > SCREEN_HEIGHT;
}

void Graphics::SetViewport()
{
    if (InCorner())
        glViewport(0, 0, mScale.mWidth, mScale.mHeight);
    else
        glViewport(mPicture.mX, mWindowHeight - mPicture.mY - mPicture.mHeight, mPicture.mWidth,
                   mPicture.mHeight);
}

void Graphics::BeginWorld()
{
    // Something already drawn this frame would be painted over by the scaled world.
    if (!mInitialised || mWorldOpen || !mClearPending)
        return;
    mWorldDrawn = true;
    if (!mSmooth)
        return;
    mWorldOpen = true;
    mWorldInTarget = mTextures.DrawToWorld(mScale.mWidth, mScale.mHeight);
    SetViewport();
}

// Drawing goes to the window again, with nothing scaled up.
void Graphics::LeaveWorld()
{
    if (mWorldInTarget)
        Texture_Cache::DrawToWindow();
    mWorldOpen = false;
    mWorldInTarget = false;
}

void Graphics::EndWorld()
{
    if (!mWorldOpen)
        return;
    const bool inCorner = !mWorldInTarget;
    LeaveWorld();
    if (!mClearPending)
        ShowScaledPicture(inCorner);
    SetViewport();
}

void Graphics::SetDrawMode(Draw_Mode mode)
{
    mDrawMode = mode;
    mChoice.Reset(ClockMs());
    SetSmooth(mode == DRAW_SMOOTH && CanScale());
}

void Graphics::SetSmooth(bool smooth)
{
    if (smooth == mSmooth)
        return;
    mSmooth = smooth;
    LeaveWorld();
    mKeptValid = false;
    mPictureLost = true;
    if (!mInitialised)
        return;
    SetViewport();
    std::cout << "Graphics: drawing the world at " << GetDrawWidth() << "x" << GetDrawHeight() << " in a "
              << mPicture.mWidth << "x" << mPicture.mHeight << " picture" << std::endl;
}

// Everything a new GL context needs to draw as the old one did.
void Graphics::SetUpContext(bool fogOn, const float clearColour[4])
{
    mOnePassBlend = ContextHasOnePassBlend();
    ApplyColour();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // A fragment of alpha 0 blends to what is already there; skipping it saves the
    // blend on the clear parts of sprites, glyphs and the HUD frame.
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_ALPHA_TEST);

    SetViewport();
    SetViewMatrices();

    glFogi(GL_FOG_MODE, GL_LINEAR);
    SetFogColour(mFogColour[0], mFogColour[1], mFogColour[2]);
    glHint(GL_FOG_HINT, GL_NICEST);
    SetFogParameters(mFog);
    if (fogOn)
        glEnable(GL_FOG);
    // Switching fog off sets black without touching the fog colour, so the clear
    // colour is carried over on its own.
    SetClearColour(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
}

void Graphics::SetClearColour(float r, float g, float b, float a)
{
    mClearColour[0] = r;
    mClearColour[1] = g;
    mClearColour[2] = b;
    mClearColour[3] = a;
    glClearColor(r, g, b, a);
}

bool Graphics::SetFullScreen(bool fullScreen, bool reopen)
{
    if (!mInitialised)
        return false;
    if (fullScreen == mFullScreen && !reopen)
        return true;
    return Reopen(fullScreen, reopen, mWindowedWidth, mWindowedHeight);
}

void Graphics::ResizeWindow(int width, int height)
{
    if (!mInitialised || mFullScreen)
        return;
    width = std::max(width, WINDOW_MIN_WIDTH);
    height = std::max(height, WINDOW_MIN_HEIGHT);
    if (width == mWindowWidth && height == mWindowHeight)
        return;
    const int oldWidth = mWindowedWidth, oldHeight = mWindowedHeight;
    mWindowedWidth = width;
    mWindowedHeight = height;
    Reopen(false, false, oldWidth, oldHeight);
}

bool Graphics::Reopen(bool fullScreen, bool reupload, int windowedWidth, int windowedHeight)
{
    const bool wasFullScreen = mFullScreen;
    const bool fogOn = glIsEnabled(GL_FOG) == GL_TRUE;
    float clearColour[4];
    std::copy(mClearColour, mClearColour + 4, clearColour);
    const bool done = SetVideoMode(fullScreen);
    if (!done)
    {
        std::cerr << "Could not switch " << (fullScreen ? "to full screen" : "to a window")
                  << ".  SDL error: " << SDL_GetError() << std::endl;
        // Back to what there was, at the size it had.
        mWindowedWidth = windowedWidth;
        mWindowedHeight = windowedHeight;
        if (!SetVideoMode(wasFullScreen))
        {
            // Not even the old mode comes back: nothing left to draw on.
            std::cerr << "Could not reopen the window.  SDL error: " << SDL_GetError() << std::endl;
            mScreen = nullptr;
            mInitialised = false;
            return false;
        }
    }
    // SDL keeps the GL context where it can (X11 does); a new one has none of the old
    // state or textures.
    const bool newContext = glIsTexture(mProbeTexture) != GL_TRUE;
    if (newContext)
    {
        SetUpContext(fogOn, clearColour);
        glPushMatrix();
        MakeProbe();
    }
    else
    {
        SetViewport();
    }
    if (newContext || reupload)
    {
        // Made from the old textures, or gone with the old context.
        mTextures.Drop(newContext);
        gImageBank.Reupload();
    }
    SDL_ShowCursor(SDL_DISABLE);
    SDL_WM_SetCaption(GAME_TITLE, GAME_SHORT_TITLE);
    return done;
}

void Graphics::Shutdown()
{
    gImageBank.Shutdown();
    if (!mInitialised)
        return;
    mTextures.Drop(false);
    glDeleteTextures(1, &mProbeTexture);
    mProbeTexture = 0;
    mKeptValid = false;
    glPopMatrix();
    SDL_FreeSurface(static_cast<SDL_Surface*>(mScreen));
    mScreen = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_ShowCursor(SDL_ENABLE);
    mInitialised = false;
}

void Graphics::Render()
{
    if (!mInitialised)
    {
        std::cerr << "Graphics: Trying to render without being init" << std::endl;
        return;
    }
    // A frame that drew nothing shows what the back buffer holds, as it is.
    const bool drawn = !mClearPending;
    EndWorld();
    SDL_GL_SwapBuffers();
    // Only frames with the world in them judge how dear it is: a menu's cheap frames
    // would otherwise bring back a sharp world that play then cannot afford.
    if (drawn && mWorldDrawn && mFrameStart >= 0 && mDrawMode == DRAW_CHOSEN && CanScale())
    {
        const int32_t now = ClockMs();
        if (mChoice.AddFrame(now - mFrameStart, now))
            SetSmooth(!mChoice.IsSharp());
    }
    mFrameStart = -1;
    mWorldDrawn = false;
    // Each frame starts again from the saved view, whatever the drawables left behind.
    glPopMatrix();
    glPushMatrix();
    mClearPending = true;
}
