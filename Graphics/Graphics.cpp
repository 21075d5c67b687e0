#include "Graphics/Graphics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include <SDL/SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "Core/Clock.h"
#include "Core/Constants.h"
#include "Graphics/Animation.h"
#include "Graphics/Image_Bank.h"

Graphics gGraphics;

namespace
{

const float INITIAL_FOG_DENSITY = 0.8f;
const float INITIAL_FOG_START = 3.0f;
const float INITIAL_FOG_END = 20.0f;

// Draws the bound texture whole over (x, y, width, height) of a viewport measured in
// pixels from its bottom-left corner, as it is: no fog, no blending, no colour.
void DrawCopy(int viewWidth, int viewHeight, float x, float y, float width, float height)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, viewWidth, 0.0, viewHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const bool fog = glIsEnabled(GL_FOG) == GL_TRUE;
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x, y);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x + width, y);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x + width, y + height);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x, y + height);
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    if (fog)
        glEnable(GL_FOG);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

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

// Draws inside a drawable's own tint and its rotation and scale, about the quad's
// centre (or the rotation's own pivot).
template <typename Drawable, typename Draw>
void WithLooks(Graphics& graphics, const Drawable& drawable, const Quad& quad, Draw draw)
{
    const Rotation& rotation = drawable.mRotation;
    const Tint& tint = drawable.mTint;
    glPushMatrix();
    const bool centre = rotation.mAboutCentre;
    const float px = centre ? quad.mX : rotation.mPivotX, py = centre ? quad.mY : rotation.mPivotY,
                pz = centre ? quad.mZ : rotation.mPivotZ;
    glTranslatef(px, py, pz);
    glRotatef(rotation.mAngle, rotation.mAxisX, rotation.mAxisY, rotation.mAxisZ);
    glTranslatef(-px, -py, -pz);

    glTranslatef(quad.mX, quad.mY, quad.mZ);
    glScalef(drawable.mScale.mX, drawable.mScale.mY, drawable.mScale.mZ);
    glTranslatef(-quad.mX, -quad.mY, -quad.mZ);
    if (tint.mEnabled)
        graphics.PushColour(tint.mA, tint.mR, tint.mG, tint.mB);
    draw();
    if (tint.mEnabled)
        graphics.PopColour();
    glPopMatrix();
}

// Drawing before Init draws nothing, and says so.
bool CheckInitialised(bool initialised)
{
    if (!initialised)
        std::cerr << "Graphics: Trying to draw without being init!" << std::endl;
    return initialised;
}

// The point of the quad at (s, t): s across from left to right, t down from top to bottom.
void QuadPoint(const Quad& q, float s, float t, float* out)
{
    for (int i = 0; i < 3; ++i)
    {
        const float top = q.mTopLeft[i] + (q.mTopRight[i] - q.mTopLeft[i]) * s;
        const float bottom = q.mBottomLeft[i] + (q.mBottomRight[i] - q.mBottomLeft[i]) * s;
        out[i] = top + (bottom - top) * t;
    }
}

void QuadVertices(const Quad& quad, const Texture_Rect& rect)
{
    glTexCoord2f(rect.mLeft, rect.mTop);
    glVertex3fv(quad.mTopLeft);
    glTexCoord2f(rect.mLeft, rect.mBottom);
    glVertex3fv(quad.mBottomLeft);
    glTexCoord2f(rect.mRight, rect.mBottom);
    glVertex3fv(quad.mBottomRight);
    glTexCoord2f(rect.mRight, rect.mTop);
    glVertex3fv(quad.mTopRight);
}

// Where a part of the image falls in the quad that shows rect of it: the part's
// texture coordinates inside rect, and the matching piece of the quad. Parts outside
// rect draw nothing.
void PartVertices(const Quad& quad, const Texture_Rect& rect, const Texture_Rect& part)
{
    const float width = rect.mRight - rect.mLeft, height = rect.mBottom - rect.mTop;
    if (width == 0.0f || height == 0.0f)
        return;
    const float minU = std::max(std::min(rect.mLeft, rect.mRight), part.mLeft);
    const float maxU = std::min(std::max(rect.mLeft, rect.mRight), part.mRight);
    const float minV = std::max(std::min(rect.mTop, rect.mBottom), part.mTop);
    const float maxV = std::min(std::max(rect.mTop, rect.mBottom), part.mBottom);
    if (minU >= maxU || minV >= maxV)
        return;
    // In the rect's own direction (a mirrored rect runs right to left).
    const float u0 = width > 0 ? minU : maxU, u1 = width > 0 ? maxU : minU;
    const float v0 = height > 0 ? minV : maxV, v1 = height > 0 ? maxV : minV;
    const float s0 = (u0 - rect.mLeft) / width, s1 = (u1 - rect.mLeft) / width;
    const float t0 = (v0 - rect.mTop) / height, t1 = (v1 - rect.mTop) / height;
    float p[3];
    glTexCoord2f(u0, v0);
    QuadPoint(quad, s0, t0, p);
    glVertex3fv(p);
    glTexCoord2f(u0, v1);
    QuadPoint(quad, s0, t1, p);
    glVertex3fv(p);
    glTexCoord2f(u1, v1);
    QuadPoint(quad, s1, t1, p);
    glVertex3fv(p);
    glTexCoord2f(u1, v0);
    QuadPoint(quad, s1, t0, p);
    glVertex3fv(p);
}

// One textured quad, whole or as the given parts. One that covers what is beneath is
// drawn without blending, which lets the renderer skip what it hides.
void TexturedQuad(GLuint texture, bool cover, const Quad& quad, const Texture_Rect& rect,
                  const std::vector<Texture_Rect>* parts)
{
    if (cover)
    {
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    if (!parts)
        QuadVertices(quad, rect);
    else
        for (const Texture_Rect& part : *parts)
            PartVertices(quad, rect, part);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    if (cover)
    {
        glEnable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
    }
}

} // namespace

Graphics::Graphics()
    : mScreen(nullptr), mInitialised(false), mClearPending(false), mDrawInParts(true), mFogDensity(0.0f),
      mFogStart(0.0f), mFogEnd(0.0f), mFogColour{0.0f, 0.0f, 0.0f, 1.0f}
{
}

void Graphics::SetVideoModeOpener(Video_Mode_Opener opener)
{
    gOpenVideoMode = opener ? opener : SdlVideoMode;
}

bool Graphics::Init(bool fullScreen, int windowWidth, int windowHeight)
{
    if (mInitialised)
        return true;

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
    mFogDensity = INITIAL_FOG_DENSITY;
    mFogStart = INITIAL_FOG_START;
    mFogEnd = INITIAL_FOG_END;
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
    mChoice.Reset(ClockMs());
    mSmooth = mDrawMode == DRAW_SMOOTH && CanScale();
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
    if (mSmooth)
        glViewport(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    else
        glViewport(mPicture.mX, mWindowHeight - mPicture.mY - mPicture.mHeight, mPicture.mWidth,
                   mPicture.mHeight);
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
    SetFogParameters(mFogDensity, mFogStart, mFogEnd);
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
    const GLuint probe = mProbeTexture;
    glDeleteTextures(1, &probe);
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
    if (mSmooth && drawn)
        ShowScaledPicture();
    SDL_GL_SwapBuffers();
    if (drawn && mFrameStart >= 0 && mDrawMode == DRAW_CHOSEN && CanScale())
    {
        const int32_t now = ClockMs();
        if (mChoice.AddFrame(now - mFrameStart, now))
            SetSmooth(!mChoice.IsSharp());
    }
    mFrameStart = -1;
    // Each frame starts again from the saved view, whatever the drawables left behind.
    glPopMatrix();
    glPushMatrix();
    mClearPending = true;
}

// The world was drawn at 800x600 in the window's corner: scaled up, smoothly, into the
// picture, with black bars around it.
void Graphics::ShowScaledPicture()
{
    const GLuint scaled = mTextures.FrameCopy(Texture_Cache::SCALED_WORLD, SCREEN_WIDTH, SCREEN_HEIGHT);
    if (scaled == 0)
    {
        // No room for the copy: draw sharp from now on.
        SetDrawMode(DRAW_SHARP);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, scaled);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    glViewport(0, 0, mWindowWidth, mWindowHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(mClearColour[0], mClearColour[1], mClearColour[2], mClearColour[3]);
    DrawCopy(mWindowWidth, mWindowHeight, static_cast<float>(mPicture.mX),
             static_cast<float>(mWindowHeight - mPicture.mY - mPicture.mHeight),
             static_cast<float>(mPicture.mWidth), static_cast<float>(mPicture.mHeight));
    SetViewport();
}

void Graphics::EnableFog()
{
    if (mInitialised)
        glEnable(GL_FOG);
}

void Graphics::DisableFog()
{
    if (!mInitialised)
        return;
    glDisable(GL_FOG);
    SetClearColour(0.0f, 0.0f, 0.0f, 0.0f);
}

void Graphics::SetFogColour(float r, float g, float b)
{
    mFogColour[0] = r;
    mFogColour[1] = g;
    mFogColour[2] = b;
    mFogColour[3] = 1.0f;
    if (!mInitialised)
        return;
    glFogfv(GL_FOG_COLOR, mFogColour);
    SetClearColour(r, g, b, 0.0f);
}

void Graphics::SetFogParameters(float density, float start, float end)
{
    mFogDensity = density;
    mFogStart = start;
    mFogEnd = end;
    if (!mInitialised)
        return;
    glFogf(GL_FOG_DENSITY, density);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
}

void Graphics::PushColour(float a, float r, float g, float b)
{
    mColourStack.push_back(Colour{r, g, b, a});
    ApplyColour();
}

void Graphics::PopColour()
{
    if (!mColourStack.empty())
        mColourStack.pop_back();
    ApplyColour();
}

void Graphics::ApplyColour()
{
    if (!mInitialised)
        return;
    if (mColourStack.empty())
    {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    else
    {
        const Colour& c = mColourStack.back();
        glColor4f(c.r, c.g, c.b, c.a);
    }
}

void Graphics::ClearIfPending()
{
    if (!mClearPending || !mInitialised)
        return;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mClearPending = false;
    mFrameStart = ClockMs();
    // Drawn at the picture's size, the world leaves the bars beside it alone: black.
    // (Scaled up, the bars are made with the picture.) The whole clear above is the
    // renderer's fast one; the bars are cleared apart.
    if (mSmooth || (mPicture.mWidth == mWindowWidth && mPicture.mHeight == mWindowHeight))
        return;
    const int x = mPicture.mX, y = mWindowHeight - mPicture.mY - mPicture.mHeight;
    const int w = mPicture.mWidth, h = mPicture.mHeight;
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    if (w < mWindowWidth)
    {
        glScissor(0, 0, x, mWindowHeight);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(x + w, 0, mWindowWidth - x - w, mWindowHeight);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    if (h < mWindowHeight)
    {
        glScissor(0, 0, mWindowWidth, y);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(0, y + h, mWindowWidth, mWindowHeight - y - h);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    glClearColor(mClearColour[0], mClearColour[1], mClearColour[2], mClearColour[3]);
}

void Graphics::DrawTexturedQuad(const Quad& quad, const Texture_Rect& rect, const std::string& key)
{
    if (!mInitialised)
        return;
    ClearIfPending();
    const Image_Entry& image = gImageBank.GetImage(key);
    // An opaque image in an opaque colour replaces what is beneath, exactly as blending
    // would; drawn without blending it also lets the renderer skip what it covers.
    const bool cover = image.mOpaque && (mColourStack.empty() || mColourStack.back().a >= 1.0f);
    TexturedQuad(image.mTexture, cover, quad, rect,
                 image.mParts.empty() || !mDrawInParts ? nullptr : &image.mParts);
}

bool Graphics::DrawCrossfadeQuad(const Quad& quad, const Texture_Rect& rect, const std::string& under,
                                 const std::string& over, float alpha, bool lasting)
{
    if (!mInitialised || (!mColourStack.empty() && mColourStack.back().a < 1.0f))
        return false;
    // A lasting blend is made into a texture once and drawn with one texel a pixel.
    const uint32_t texture =
        lasting ? mTextures.Crossfade(gImageBank.GetImage(under), gImageBank.GetImage(over), alpha) : 0;
    if (texture != 0)
    {
        ClearIfPending();
        TexturedQuad(texture, true, quad, rect, nullptr);
        return true;
    }

    // While it changes, both images are read in the one draw and mixed by the second
    // texture unit. That mix leaves out the colour, so it must be plain white.
    const Image_Entry& below = gImageBank.GetImage(under);
    const Image_Entry& above = gImageBank.GetImage(over);
    const bool white =
        mColourStack.empty() ||
        (mColourStack.back().r >= 1.0f && mColourStack.back().g >= 1.0f && mColourStack.back().b >= 1.0f);
    if (!HasOnePassBlend() || !white || !below.mOpaque || !above.mOpaque)
        return false;
    ClearIfPending();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, below.mTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glActiveTexture(GL_TEXTURE1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, above.mTexture);
    const float mix[4] = {0.0f, 0.0f, 0.0f, std::min(1.0f, std::max(0.0f, alpha))};
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, mix);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_INTERPOLATE); // above * a + below * (1 - a)
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PREVIOUS);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB, GL_CONSTANT);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB, GL_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
    const float* corners[4] = {quad.mTopLeft, quad.mBottomLeft, quad.mBottomRight, quad.mTopRight};
    const float u[4] = {rect.mLeft, rect.mLeft, rect.mRight, rect.mRight};
    const float v[4] = {rect.mTop, rect.mBottom, rect.mBottom, rect.mTop};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i)
    {
        glMultiTexCoord2f(GL_TEXTURE0, u[i], v[i]);
        glMultiTexCoord2f(GL_TEXTURE1, u[i], v[i]);
        glVertex3fv(corners[i]);
    }
    glEnd();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    return true;
}

void Graphics::DrawFrame(const Animation_Frame& frame, const Quad& quad)
{
    if (!CheckInitialised(mInitialised))
        return;
    ClearIfPending();
    const Texture_Rect fullImage;
    const Texture_Rect& rect = frame.mTextureRect ? *frame.mTextureRect : fullImage;
    WithLooks(*this, frame, quad, [&] { DrawTexturedQuad(quad, rect, frame.mKey); });
}

void Graphics::DrawAnimationSet(const Animation_Set& set, const Quad& quad)
{
    if (!CheckInitialised(mInitialised) || set.mFrames.empty())
        return;
    ClearIfPending();
    // A current frame outside the list (a set shrunk under it) draws nothing.
    if (!set.mVisible || set.mCurrentFrame < 0 ||
        static_cast<size_t>(set.mCurrentFrame) >= set.mFrames.size())
        return;
    WithLooks(*this, set, quad, [&] { DrawFrame(set.mFrames[set.mCurrentFrame], quad); });
}

void Graphics::DrawAnimation(const Animation& animation, const Quad& quad)
{
    if (!CheckInitialised(mInitialised) || animation.mSets.empty())
        return;
    ClearIfPending();
    if (animation.mCurrentSet < 0 || static_cast<size_t>(animation.mCurrentSet) >= animation.mSets.size())
        return;
    WithLooks(*this, animation, quad,
              [&] { DrawAnimationSet(animation.mSets[animation.mCurrentSet], quad); });
}

void Graphics::DrawFrameAt(const Animation_Frame& frame, float x, float y, float z)
{
    const Image_Entry& image = gImageBank.GetImage(frame.mKey);
    DrawFrame(frame, Quad(x, y, z, image.mWorldWidth, image.mWorldHeight));
}

bool Graphics::KeepPicture()
{
    mKeptValid = false;
    if (!mInitialised)
        return false;
    ClearIfPending();
    const int width = GetDrawWidth(), height = GetDrawHeight();
    const GLuint kept = mTextures.FrameCopy(Texture_Cache::KEPT_PICTURE, width, height);
    if (kept == 0)
        return false;
    // Where the world is drawn: the picture, or the corner it is scaled up from.
    const int x = mSmooth ? 0 : mPicture.mX;
    const int y = mSmooth ? 0 : mWindowHeight - mPicture.mY - mPicture.mHeight;
    glBindTexture(GL_TEXTURE_2D, kept);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, y, width, height);
    mKeptValid = glGetError() == GL_NO_ERROR;
    return mKeptValid;
}

bool Graphics::DrawKeptPicture()
{
    if (!mInitialised || !mKeptValid)
        return false;
    // The copy covers the whole picture: clearing it first would be wasted, but bars
    // beside it still need theirs.
    if (mClearPending && (mSmooth || (mPicture.mWidth == mWindowWidth && mPicture.mHeight == mWindowHeight)))
    {
        mClearPending = false;
        mFrameStart = ClockMs();
    }
    ClearIfPending();
    // In the picture's pixels, whatever the view or the drawables left in the matrices.
    const int width = GetDrawWidth(), height = GetDrawHeight();
    glBindTexture(GL_TEXTURE_2D, mTextures.FrameCopy(Texture_Cache::KEPT_PICTURE, width, height));
    DrawCopy(width, height, 0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    return true;
}

void Graphics::RotateView(float degrees)
{
    if (mInitialised)
        glRotatef(degrees, 0.0f, 0.0f, 1.0f);
}
