#include "Graphics/Graphics.h"

#include <algorithm>
#include <iostream>

#include <GL/gl.h>

#include "Core/Clock.h"
#include "Graphics/Animation.h"
#include "Graphics/Image_Bank.h"

Graphics gGraphics;

namespace
{

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

namespace
{

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

// The world was drawn smaller, in its own frame buffer or the window's corner: scaled up
// into the picture (filtered, or each pixel a square), with black bars around it.
void Graphics::ShowScaledPicture(bool fromCorner)
{
    const GLuint scaled = mTextures.FrameCopy(Texture_Cache::SCALED_WORLD, mScale.mWidth, mScale.mHeight);
    if (scaled == 0)
    {
        // No room for the copy: draw sharp from now on.
        SetDrawMode(DRAW_SHARP);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, scaled);
    if (fromCorner)
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, mScale.mWidth, mScale.mHeight);
    const GLint filter = mScale.mFactor > 0 ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glViewport(0, 0, mWindowWidth, mWindowHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(mClearColour[0], mClearColour[1], mClearColour[2], mClearColour[3]);
    // Whole squares of pixels may fall a pixel or two short of the picture: centred.
    const int width = mScale.mFactor > 0 ? mScale.mWidth * mScale.mFactor : mPicture.mWidth;
    const int height = mScale.mFactor > 0 ? mScale.mHeight * mScale.mFactor : mPicture.mHeight;
    const int x = mPicture.mX + (mPicture.mWidth - width) / 2;
    const int y = mWindowHeight - mPicture.mY - mPicture.mHeight + (mPicture.mHeight - height) / 2;
    DrawCopy(mWindowWidth, mWindowHeight, static_cast<float>(x), static_cast<float>(y),
             static_cast<float>(width), static_cast<float>(height));
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
    mFog = Fog_Parameters{density, start, end};
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

// True when the frame's first clear leaves no bars to blacken: the picture fills the
// window, or the world is drawn in the corner and the bars come with its scaling up.
bool Graphics::ClearCoversDrawing() const
{
    return InCorner() || (mPicture.mWidth == mWindowWidth && mPicture.mHeight == mWindowHeight);
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
    if (ClearCoversDrawing())
        return;
    const int x = mPicture.mX, y = mWindowHeight - mPicture.mY - mPicture.mHeight;
    const int w = mPicture.mWidth, h = mPicture.mHeight;
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    // Left and right of the picture, then below and above it.
    const int bars[4][4] = {{0, 0, x, mWindowHeight},
                            {x + w, 0, mWindowWidth - x - w, mWindowHeight},
                            {0, 0, mWindowWidth, y},
                            {0, y + h, mWindowWidth, mWindowHeight - y - h}};
    for (int i = 0; i < 4; ++i)
        if (i < 2 ? w < mWindowWidth : h < mWindowHeight)
        {
            glScissor(bars[i][0], bars[i][1], bars[i][2], bars[i][3]);
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
    // Interpolate: above * a + below * (1 - a); the alpha is above's.
    const GLenum combine[][2] = {
        {GL_TEXTURE_ENV_MODE, GL_COMBINE}, {GL_COMBINE_RGB, GL_INTERPOLATE}, {GL_SOURCE0_RGB, GL_TEXTURE},
        {GL_OPERAND0_RGB, GL_SRC_COLOR},   {GL_SOURCE1_RGB, GL_PREVIOUS},    {GL_OPERAND1_RGB, GL_SRC_COLOR},
        {GL_SOURCE2_RGB, GL_CONSTANT},     {GL_OPERAND2_RGB, GL_SRC_ALPHA},  {GL_COMBINE_ALPHA, GL_REPLACE},
        {GL_SOURCE0_ALPHA, GL_TEXTURE},    {GL_OPERAND0_ALPHA, GL_SRC_ALPHA}};
    for (const auto& setting : combine)
        glTexEnvi(GL_TEXTURE_ENV, setting[0], static_cast<GLint>(setting[1]));
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
    // Always the whole picture as shown: a world still in the corner is scaled up first.
    EndWorld();
    const int width = mPicture.mWidth, height = mPicture.mHeight;
    const GLuint kept = mTextures.FrameCopy(Texture_Cache::KEPT_PICTURE, width, height);
    if (kept == 0)
        return false;
    const int x = mPicture.mX, y = mWindowHeight - mPicture.mY - mPicture.mHeight;
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
    EndWorld();
    if (mClearPending && ClearCoversDrawing())
    {
        mClearPending = false;
        mFrameStart = ClockMs();
    }
    ClearIfPending();
    // In the picture's pixels, whatever the view or the drawables left in the matrices.
    const int width = mPicture.mWidth, height = mPicture.mHeight;
    glBindTexture(GL_TEXTURE_2D, mTextures.FrameCopy(Texture_Cache::KEPT_PICTURE, width, height));
    DrawCopy(width, height, 0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
    return true;
}

void Graphics::RotateView(float degrees)
{
    if (mInitialised)
        glRotatef(degrees, 0.0f, 0.0f, 1.0f);
}
